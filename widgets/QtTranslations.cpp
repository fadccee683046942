#include "widgets/QtTranslations.h"

#include <QLibraryInfo>

QString QtTranslationsFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

std::unique_ptr<QTranslator> LoadQtRussianTranslations(const QString& folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_ru"), folder))
        return nullptr;
    return translator;
}
