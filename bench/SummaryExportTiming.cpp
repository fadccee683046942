// Times the group summary's two exports of one folder in one process, in turn (CSV, PDF, CSV,
// PDF, …): each from the folder to the written file (find, read, assess, write), as the command
// line does, and the writing alone. Prints the medians, the PDF / CSV ratio and the process's
// peak memory (the PDF's: it needs more than the CSV).
#include "summary/CsvExport.h"
#include "summary/RecordFileAssessment.h"
#include "summary/RecordFileScan.h"
#include "summary/SummaryReport.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

SummaryRows ReadGroup(const QString& folder)
{
    SummaryRows rows;
    for (const QString& path : FindRecordFiles({folder}).files)
        rows.append(AssessRecordFile(path, Separators::current()));
    return rows;
}

// The median in milliseconds with a decimal point whatever the locale, for scripts/bench.sh.
QByteArray Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return QByteArray::number(values[values.size() / 2], 'f', 1);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fputs("usage: summary_export_timing FOLDER OUTPUT_PREFIX PAIRS\n", stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString csv = QString::fromLocal8Bit(argv[2]) + QStringLiteral(".csv");
    const QString pdf = QString::fromLocal8Bit(argv[2]) + QStringLiteral(".pdf");
    const int pairs = std::max(1, atoi(argv[3]));

    std::vector<double> csvWhole, pdfWhole, csvWrite, pdfWrite;
    qsizetype files = 0;
    for (int pair = 0; pair < pairs; ++pair) {
        for (const bool asPdf : {false, true}) {
            QElapsedTimer whole;
            whole.start();
            const SummaryRows rows = ReadGroup(folder);
            QElapsedTimer writing;
            writing.start();
            const QString failure = asPdf ? WriteSummaryPdf(pdf, rows, {{folder}}) : WriteSummaryCsv(csv, rows);
            if (!failure.isEmpty()) {
                std::fprintf(stderr, "%s\n", qPrintable(failure));
                return 1;
            }
            (asPdf ? pdfWrite : csvWrite).push_back(double(writing.nsecsElapsed()) / 1e6);
            (asPdf ? pdfWhole : csvWhole).push_back(double(whole.nsecsElapsed()) / 1e6);
            files = rows.size();
        }
    }
    std::printf("files %lld, %d pairs, medians\n", static_cast<long long>(files), pairs);
    std::printf("folder to CSV %s ms (writing %s ms)\n", Median(csvWhole).data(), Median(csvWrite).data());
    std::printf("folder to PDF %s ms (writing %s ms)\n", Median(pdfWhole).data(), Median(pdfWrite).data());
    std::printf("pdf/csv ratio %s\n", QByteArray::number(Median(pdfWhole).toDouble() / Median(csvWhole).toDouble(), 'f', 2).data());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory %s MiB\n", QByteArray::number(double(usage.ru_maxrss) / 1024.0, 'f', 1).data());
    return 0;
}
