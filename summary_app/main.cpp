#include "summary_app/CommandLine.h"
#include "summary_app/EntryWindow.h"
#include "summary_app/SummaryWindow.h"
#include "widgets/Fonts.h"
#include "widgets/QtTranslations.h"

#include <QApplication>
#include <QGuiApplication>

#include <cstdio>

namespace {

QStringList Arguments(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationVersion(QStringLiteral(VORNALE_VERSION));
    const QStringList arguments = Arguments(argc, argv);
    const QString enterFolder = EnterFolder(arguments);
    if (enterFolder.isEmpty() && WantsCommandLine(arguments)) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        // Only the report needs fonts and painting, and even it never needs a display.
        if (!NeedsPainting(arguments)) {
            QCoreApplication app(argc, argv);
            return RunCommandLine(QCoreApplication::arguments(), out, err);
        }
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return RunCommandLine(QCoreApplication::arguments(), out, err);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vornale-summary"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.vornale.VornaleSummary"));
    RegisterFontSubstitutes();
    // Russian like the rest of the window, whatever the user's locale.
    const std::unique_ptr<QTranslator> qtTranslations = LoadQtRussianTranslations();
    if (qtTranslations)
        QApplication::installTranslator(qtTranslations.get());
    if (!enterFolder.isEmpty()) {
        EntryWindow entry(enterFolder);
        entry.show();
        return app.exec();
    }
    SummaryWindow window;
    window.show();
    QStringList paths = arguments.mid(1);
    paths.removeAll(QStringLiteral("--"));
    if (!paths.isEmpty())
        window.openPaths(paths);
    return app.exec();
}
