#include "app/ApplicationWindows.h"
#include "app/CommandLine.h"
#include "app/VornaleApplication.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationVersion(QStringLiteral(VORNALE_VERSION));
    CommandLine commandLine;
    {
        // A plain application object: --help, --version and a wrong option need no display.
        QCoreApplication parsing(argc, argv);
        commandLine = ParseCommandLine(QCoreApplication::arguments());
    }
    switch (commandLine.action) {
    case CommandLine::Action::ShowHelp:
    case CommandLine::Action::ShowVersion:
        std::fputs(commandLine.output.toLocal8Bit().constData(), stdout);
        return commandLine.exitCode;
    case CommandLine::Action::Fail:
        std::fputs(commandLine.output.toLocal8Bit().constData(), stderr);
        return commandLine.exitCode;
    case CommandLine::Action::Run:
        break;
    }

    VornaleApplication app(argc, argv);
    ApplicationWindows windows;
    windows.Form1.show();
    if (commandLine.file) {
        const QString path = *commandLine.file;
        // Once the window is up, as if the examiner had chosen the file in the Open dialog.
        QTimer::singleShot(0, &windows.Form1, [&windows, path] {
            if (!windows.Form1.openFileFromCommandLine(path))
                std::fprintf(stderr, "vornale-lite: %s: file not found\n",
                             QDir::toNativeSeparators(path).toLocal8Bit().constData());
        });
    }
    return app.exec();
}
