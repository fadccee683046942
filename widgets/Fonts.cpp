#include "widgets/Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace {

QStringList installedOf(const QStringList& candidates)
{
    const QStringList families = QFontDatabase::families();
    QStringList installed;
    for (const QString& family : candidates)
        if (families.contains(family, Qt::CaseInsensitive))
            installed.append(family);
    return installed;
}

void registerSubstitutes(const QString& family, const QStringList& candidates)
{
    const QStringList installed = installedOf(candidates);
    if (!installed.isEmpty())
        QFont::insertSubstitutions(family, installed);
}

} // namespace

void RegisterFontSubstitutes()
{
    static const bool registered = [] {
        // Liberation Sans keeps the narrow, Arial-like widths of the old bitmap sans face;
        // DejaVu Sans shares Verdana's wide design.
        registerSubstitutes(QStringLiteral("MS Sans Serif"),
                            {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
        registerSubstitutes(QStringLiteral("Verdana"),
                            {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
        return true;
    }();
    Q_UNUSED(registered);
}
