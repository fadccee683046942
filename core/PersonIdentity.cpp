#include "core/PersonIdentity.h"

#include <QHashFunctions>

#include <algorithm>

QString PersonNameWithPlainBlanks(const QString& fullName)
{
    QString plain;
    plain.reserve(fullName.size());
    bool blank = false;
    for (const QChar c : fullName) {
        // Every Unicode blank and control character separates words, so a pasted no-break space
        // or a tab reads as the space it looks like.
        if (c.isSpace() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format) {
            blank = !plain.isEmpty();
            continue;
        }
        if (blank)
            plain += u' ';
        blank = false;
        plain += c;
    }
    return plain;
}

QString PersonNameKey(const QString& fullName)
{
    QString key = PersonNameWithPlainBlanks(fullName);
    if (std::none_of(key.cbegin(), key.cend(), [](QChar c) { return c.isLetterOrNumber(); }))
        return {};
    key = key.toCaseFolded();
    key.replace(u'ё', u'е');
    return key;
}

PersonIdentity IdentityOf(const QString& fullName, Sex sex)
{
    return {PersonNameKey(fullName), sex};
}

QString IdentityKey(const PersonIdentity& identity)
{
    return identity.nameKey + (identity.sex == Sex::Male ? QStringLiteral("\x1fM") : QStringLiteral("\x1fF"));
}

size_t qHash(const PersonIdentity& identity, size_t seed) noexcept
{
    return qHashMulti(seed, identity.nameKey, int(identity.sex));
}
