#include "app/VornaleApplication.h"

#include "app/FailureReport.h"
#include "app/ShellAccessibility.h"
#include "widgets/QtTranslations.h"
#include "core/ApplicationErrors.h"
#include "widgets/Fonts.h"

#include <QIcon>

namespace {

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addFile(QStringLiteral(":/assets/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace

VornaleApplication::VornaleApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    RegisterFontSubstitutes();
    InstallShellAccessibility();
    m_qtTranslations = LoadQtRussianTranslations();
    if (m_qtTranslations)
        installTranslator(m_qtTranslations.get());
    setWindowIcon(ApplicationIcon());
    // Lets the desktop match the window with its menu entry (and that entry's icon).
    setDesktopFileName(QStringLiteral("org.example.vornale.VornaleLite"));
    SetApplicationExceptionReporter(ShowFailureMessageBox);
}

bool VornaleApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    RunReportingFailures([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
