#include "entry/RecordFileName.h"

#include "core/PersonIdentity.h"

#include <QStringList>

namespace {

// The longest file name most file systems take, in bytes; the replacing writer's temporary name
// beside it cuts the name itself.
constexpr qsizetype kLongestName = 255;

// Refused by some file system the folder may be copied to, or a path separator.
bool IsUnsafe(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u <= 0x9F) || QStringView(u"/\\<>:\"|?*").contains(c);
}

// Names Windows keeps for devices, whatever the extension.
bool IsReservedDeviceName(const QString& base)
{
    static const QStringList reserved{QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                      QStringLiteral("NUL")};
    const QString upper = base.toUpper();
    if (reserved.contains(upper))
        return true;
    return upper.size() == 4 && (upper.startsWith(u"COM") || upper.startsWith(u"LPT")) && upper[3] >= u'1'
        && upper[3] <= u'9';
}

bool IsTrimmedAtEnds(QChar c)
{
    return c == u'.' || c.isSpace();
}

} // namespace

QString RecordFileNameFor(const QString& name)
{
    // Spellings of one person that differ only in their blanks get one file.
    const QString fullName = PersonNameWithPlainBlanks(name);
    QString base;
    base.reserve(fullName.size());
    for (qsizetype i = 0; i < fullName.size(); ++i) {
        const QChar c = fullName[i];
        // A lone surrogate would not survive the file system's encoding.
        if (c.isHighSurrogate() && i + 1 < fullName.size() && fullName[i + 1].isLowSurrogate()) {
            base += c;
            base += fullName[++i];
        } else if (c.isSurrogate() || IsUnsafe(c)) {
            base += u'_';
        } else {
            base += c;
        }
    }
    // Leading dots would hide the file or name the folder itself or its parent.
    while (!base.isEmpty() && IsTrimmedAtEnds(base.front()))
        base.remove(0, 1);
    const qsizetype room = kLongestName - qsizetype(sizeof(kRecordFileSuffix) - 1);
    if (QByteArray utf8 = base.toUtf8(); utf8.size() > room) {
        qsizetype cut = room;
        while (cut > 0 && (quint8(utf8[cut]) & 0xC0) == 0x80) // never inside a character
            --cut;
        base = QString::fromUtf8(utf8.left(cut));
    }
    while (!base.isEmpty() && IsTrimmedAtEnds(base.back()))
        base.chop(1);
    if (base.isEmpty())
        base = QStringLiteral("без имени");
    if (IsReservedDeviceName(base))
        base.prepend(u'_');
    return base + QLatin1String(kRecordFileSuffix);
}
