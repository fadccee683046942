#include "summary_app/CommandLine.h"

#include "summary_app/CompareCommandLine.h"

#include "summary/CsvExport.h"
#include "summary/RecordFileAssessment.h"
#include "summary/RecordFileScan.h"
#include "summary/SummaryCounts.h"
#include "summary/SummaryReport.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

const QString kUsage = QStringLiteral("vornale-summary [--csv ФАЙЛ.csv] [--pdf ФАЙЛ.pdf] ПУТЬ…");

void Configure(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral("Сводка по группе: файлы записей и папки с ними."));
    parser.addOption({QStringLiteral("csv"), QStringLiteral("Записать сводку в CSV."), QStringLiteral("ФАЙЛ")});
    parser.addOption({QStringLiteral("pdf"), QStringLiteral("Записать отчет в PDF."), QStringLiteral("ФАЙЛ")});
    // Handled by CompareCommandLine; listed here so the summary's help mentions it.
    parser.addOption({QStringLiteral("compare"), QStringLiteral("Сравнить обследования группы (см. --compare --help).")});
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Показать эту справку.")});
    parser.addOption({{QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Показать версию.")});
    parser.addPositionalArgument(QStringLiteral("ПУТЬ"), QStringLiteral("Файлы записей и папки с ними."),
                                 QStringLiteral("ПУТЬ…"));
}

} // namespace

bool WantsCommandLine(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--"))
            return false;
        if (arguments[i].startsWith(u'-'))
            return true;
    }
    return false;
}

bool NeedsPainting(const QStringList& arguments)
{
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--"))
            return false;
        if (argument == QLatin1String("--pdf") || argument.startsWith(QLatin1String("--pdf=")))
            return true;
    }
    return false;
}

bool ParseCommandLine(const QStringList& arguments, CommandLineRequest& request, QString& error, bool& helpShown,
                      QTextStream& out)
{
    QCommandLineParser parser;
    Configure(parser);
    helpShown = false;
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << parser.helpText();
        helpShown = true;
        return true;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        out << "vornale-summary " << QCoreApplication::applicationVersion() << '\n';
        helpShown = true;
        return true;
    }
    request.csvPath = parser.value(QStringLiteral("csv"));
    request.pdfPath = parser.value(QStringLiteral("pdf"));
    request.paths = parser.positionalArguments();
    if (parser.isSet(QStringLiteral("csv")) && request.csvPath.isEmpty()) {
        error = QStringLiteral("не указан файл для --csv");
        return false;
    }
    if (parser.isSet(QStringLiteral("pdf")) && request.pdfPath.isEmpty()) {
        error = QStringLiteral("не указан файл для --pdf");
        return false;
    }
    if (!request.exports()) {
        error = QStringLiteral("нужен --csv или --pdf");
        return false;
    }
    if (request.paths.isEmpty()) {
        error = QStringLiteral("не указаны файлы или папки");
        return false;
    }
    return true;
}

int RunExport(const CommandLineRequest& request, QTextStream& out, QTextStream& err)
{
    const RecordFileList list = FindRecordFiles(request.paths);
    SummaryRows rows;
    rows.reserve(list.files.size());
    const Separators separators = Separators::current();
    for (const QString& path : list.files)
        rows.append(AssessRecordFile(path, separators));

    int skipped = int(list.skipped.size());
    for (const SkippedPath& path : list.skipped)
        err << path.path << ": " << path.reason << Qt::endl;
    for (const SummaryRow& row : rows) {
        if (IsSkipped(row)) {
            ++skipped;
            err << row.path << ": " << row.reason << Qt::endl;
        }
    }

    bool written = true;
    if (!request.csvPath.isEmpty()) {
        if (const QString failure = WriteSummaryCsv(request.csvPath, rows); !failure.isEmpty()) {
            err << request.csvPath << ": " << QStringLiteral("не удалось записать: ") << failure << Qt::endl;
            written = false;
        }
    }
    if (!request.pdfPath.isEmpty()) {
        if (const QString failure = WriteSummaryPdf(request.pdfPath, rows, {request.paths}); !failure.isEmpty()) {
            err << request.pdfPath << ": " << QStringLiteral("не удалось записать: ") << failure << Qt::endl;
            written = false;
        }
    }
    for (const QString& line : CountsLines(CountRows(rows), int(list.skipped.size())))
        out << line << '\n';
    out.flush();
    err.flush();
    if (!written)
        return ExitUsage;
    return skipped > 0 ? ExitSomeSkipped : ExitAllRead;
}

int RunCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (IsCompareRequest(arguments))
        return RunCompareCommandLine(arguments, out, err);
    CommandLineRequest request;
    QString error;
    bool helpShown = false;
    if (!ParseCommandLine(arguments, request, error, helpShown, out)) {
        err << "vornale-summary: " << error << '\n' << QStringLiteral("Использование: ") << kUsage << Qt::endl;
        return ExitUsage;
    }
    if (helpShown) {
        out.flush();
        return ExitAllRead;
    }
    return RunExport(request, out, err);
}
