#include "summary_app/CommandLine.h"
#include "summary_app/SummaryWindow.h"
#include "widgets/Fonts.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

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
    const QStringList arguments = Arguments(argc, argv);
    if (WantsCommandLine(arguments)) {
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
    RegisterFontSubstitutes();
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);
    SummaryWindow window;
    window.show();
    QStringList paths = arguments.mid(1);
    paths.removeAll(QStringLiteral("--"));
    if (!paths.isEmpty())
        window.openPaths(paths);
    return app.exec();
}
