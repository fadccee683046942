#pragma once

#include <QString>
#include <QTranslator>
#include <memory>

// Where Debian's qt6-translations-l10n puts qtbase_ru.qm.
QString QtTranslationsFolder();

// Qt's own Russian texts for what Qt draws itself (file dialogs, message box buttons, context
// menus), so the whole program speaks Russian whatever the user's locale.
// Null when the translation is not installed: the program then runs with Qt's default texts.
std::unique_ptr<QTranslator> LoadQtRussianTranslations(const QString& folder = QtTranslationsFolder());

