// Opens a folder in the group summary window (offscreen) and prints how long the first rows and
// the whole table took, each counted from the request to open.
#include "summary/SummaryTableModel.h"
#include "summary_app/SummaryWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: summary_window_timing FOLDER\n", stderr);
        return 2;
    }
    SummaryWindow window;
    window.show();
    QElapsedTimer clock;
    qint64 firstRows = -1;
    QObject::connect(window.model(), &SummaryTableModel::rowsInserted, [&] {
        if (firstRows < 0) {
            // Counted once the rows are painted, not merely stored.
            window.repaint();
            firstRows = clock.elapsed();
        }
    });
    QObject::connect(&window, &SummaryWindow::readingFinished, [&](bool) {
        window.repaint();
        std::printf("rows %d: first rows shown after %lld ms, whole table after %lld ms\n", window.model()->rowCount(),
                    static_cast<long long>(firstRows), static_cast<long long>(clock.elapsed()));
        QApplication::quit();
    });
    QTimer::singleShot(0, [&] {
        clock.start();
        window.openPaths({QString::fromLocal8Bit(argv[1])});
    });
    return app.exec();
}
