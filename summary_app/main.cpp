#include "summary_app/CommandLine.h"
#include "summary_app/CompareCommandLine.h"
#include "summary_app/GroupsCommandLine.h"
#include "group_windows/CompareWindow.h"
#include "group_windows/EntryWindow.h"
#include "group_windows/SummaryWindow.h"
#include "widgets/Accessibility.h"
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
    CompareRequest comparison;
    const bool compareWindow = CompareWantsWindow(arguments, comparison);
    if (!compareWindow && IsCompareRequest(arguments)) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        // Its report may be asked for, which paints but never needs a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return RunCompareCommandLine(arguments, out, err);
    }
    if (IsGroupsRequest(arguments) && !IsCompareRequest(arguments)) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        // Its report may be asked for, which paints but never needs a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return RunGroupsCommandLine(arguments, out, err);
    }
    const CommandLineRequest request =
        compareWindow ? CommandLineRequest{} : ParseCommandLine(arguments);
    if (request.action != CommandLineRequest::Action::Window) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        // Only the report needs fonts and painting, and even it never needs a display.
        if (request.action != CommandLineRequest::Action::Export || request.pdfPath.isEmpty()) {
            QCoreApplication app(argc, argv);
            return RunCommandLine(request, out, err);
        }
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return RunCommandLine(request, out, err);
    }

    // The application object takes the toolkit's own options (-style, -platform) for itself.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vornale-summary"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.vornale.VornaleSummary"));
    RegisterFontSubstitutes();
    InstallWidgetAccessibility();
    // Russian like the rest of the window, whatever the user's locale.
    const std::unique_ptr<QTranslator> qtTranslations = LoadQtRussianTranslations();
    if (qtTranslations)
        QApplication::installTranslator(qtTranslations.get());
    if (compareWindow) {
        CompareWindow window;
        for (qsizetype i = 0; i < comparison.stagePaths.size(); ++i)
            window.addStage({comparison.stagePaths[i]}, comparison.labels.value(i));
        window.setAnonymised(comparison.anonymised);
        window.show();
        window.compare();
        return app.exec();
    }
    if (!request.enterFolder.isEmpty()) {
        EntryWindow entry(request.enterFolder);
        if (!entry.refusal().isEmpty()) {
            QTextStream(stderr) << "vornale-summary: " << entry.refusal() << Qt::endl;
            return ExitUsage;
        }
        entry.show();
        return app.exec();
    }
    SummaryWindow window;
    window.show();
    if (!request.paths.isEmpty())
        window.openPaths(request.paths);
    return app.exec();
}
