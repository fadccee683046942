// Opens a folder in the group summary window (offscreen) and prints how long the first rows and
// the whole table took, each counted from the request to open. Given a PDF path too, it then
// exports the PDF through the window and prints how long that took and the longest the window's
// event loop went without handling a 5 ms timer meanwhile.
#include "summary/SummaryTableModel.h"
#include "group_windows/SummaryWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

// CPU time of the calling thread, in ms: what the window's own thread spends.
qint64 ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fputs("usage: summary_window_timing FOLDER [PDF]\n", stderr);
        return 2;
    }
    SummaryWindow window;
    window.reportFailure = [](const QString& message) { std::fprintf(stderr, "%s\n", qPrintable(message)); };
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
    QTimer tick;
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    qint64 cpuAtExport = 0;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, sinceTick.elapsed());
        sinceTick.restart();
    });
    QObject::connect(&window, &SummaryWindow::readingFinished, [&](bool) {
        window.repaint();
        std::printf("rows %d: first rows shown after %lld ms, whole table after %lld ms\n", window.model()->rowCount(),
                    static_cast<long long>(firstRows), static_cast<long long>(clock.elapsed()));
        if (argc == 2) {
            QApplication::quit();
            return;
        }
        clock.restart();
        cpuAtExport = ThreadCpuMs();
        sinceTick.start();
        tick.start();
        window.exportPdf(QString::fromLocal8Bit(argv[2]));
    });
    QObject::connect(&window, &SummaryWindow::reportFinished, [&](bool written) {
        std::printf("PDF %s after %lld ms; the window's thread busy %lld ms meanwhile; longest the window went "
                    "unanswered: %lld ms\n",
                    written ? "written" : "NOT written", static_cast<long long>(clock.elapsed()),
                    static_cast<long long>(ThreadCpuMs() - cpuAtExport), static_cast<long long>(longestGap));
        QApplication::quit();
    });
    QTimer::singleShot(0, [&] {
        clock.start();
        window.openPaths({QString::fromLocal8Bit(argv[1])});
    });
    return app.exec();
}
