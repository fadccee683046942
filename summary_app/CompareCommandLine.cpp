#include "summary_app/CompareCommandLine.h"

#include "summary_app/SignalCancellation.h"

#include "compare/ComparisonReport.h"
#include "compare/ComparisonRun.h"
#include "compare/ComparisonTable.h"
#include "compare/GroupFigures.h"
#include "summary_app/CommandLine.h"

#include <QCommandLineParser>

namespace {

const QString kCompareUsage = QStringLiteral("vornale-summary --compare [--label МЕТКА]… [--csv "
                                             "ФАЙЛ.csv] [--pdf ФАЙЛ.pdf] [--anonymise] ЭТАП ЭТАП…");

void Configure(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Сравнение обследований одной группы: каждый ЭТАП — папка с файлами записей или файл "
        "записи. "
        "Метки, похожие на даты (2026-09, 2026-09-01, 01.09.2026), упорядочивают этапы, если датой "
        "читается каждая метка; иначе этапы идут в заданном порядке."));
    parser.addOption({QStringLiteral("compare"), QStringLiteral("Сравнить этапы.")});
    parser.addOption({QStringLiteral("label"),
                      QStringLiteral("Метка очередного этапа (по умолчанию имя папки)."),
                      QStringLiteral("МЕТКА")});
    parser.addOption({QStringLiteral("csv"), QStringLiteral("Записать сравнение в CSV (- — в стандартный вывод)."),
                      QStringLiteral("ФАЙЛ")});
    parser.addOption(
        {QStringLiteral("pdf"), QStringLiteral("Записать отчет в PDF (- — в стандартный вывод)."),
         QStringLiteral("ФАЙЛ")});
    parser.addOption({{QStringLiteral("anonymise"), QStringLiteral("anonymize")},
                      QStringLiteral("Вместо имен писать коды строк, без путей к файлам.")});
    parser.addOption(
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Показать эту справку.")});
    parser.addPositionalArgument(QStringLiteral("ЭТАП"), QStringLiteral("Папка или файл записи."),
                                 QStringLiteral("ЭТАП ЭТАП…"));
}

QList<StageInput> Stages(const CompareRequest& request)
{
    QList<StageInput> stages;
    for (qsizetype i = 0; i < request.stagePaths.size(); ++i)
        stages.append({{request.stagePaths[i]}, request.labels.value(i)});
    return OrderStages(stages);
}

int ReportSkipped(const Comparison& comparison, QTextStream& err)
{
    int skipped = 0;
    for (const StageResult& stage : comparison.stages) {
        for (const SkippedPath& path : stage.skipped) {
            ++skipped;
            err << stage.input.label << ": " << path.path << ": " << path.reason << Qt::endl;
        }
        for (const SummaryRow& row : stage.rows) {
            if (IsSkipped(row)) {
                ++skipped;
                err << stage.input.label << ": " << row.path << ": " << row.reason << Qt::endl;
            }
        }
    }
    return skipped;
}

} // namespace

bool IsCompareRequest(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size() && arguments[i] != QLatin1String("--"); ++i) {
        if (arguments[i] == QLatin1String("--compare"))
            return true;
    }
    return false;
}

bool ParseCompareCommandLine(const QStringList& arguments, CompareRequest& request, QString& error,
                             bool& helpShown, QTextStream& out)
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
    request.stagePaths = parser.positionalArguments();
    request.labels = parser.values(QStringLiteral("label"));
    request.csvPath = parser.value(QStringLiteral("csv"));
    request.pdfPath = parser.value(QStringLiteral("pdf"));
    request.anonymised = parser.isSet(QStringLiteral("anonymise"));
    if (parser.isSet(QStringLiteral("csv")) && request.csvPath.isEmpty())
        error = QStringLiteral("не указан файл для --csv");
    else if (parser.isSet(QStringLiteral("pdf")) && request.pdfPath.isEmpty())
        error = QStringLiteral("не указан файл для --pdf");
    else if (request.stagePaths.size() < 2)
        error = QStringLiteral("нужно не меньше двух этапов");
    else if (request.labels.size() > request.stagePaths.size())
        error = QStringLiteral("меток (%1) больше, чем этапов (%2)")
                    .arg(request.labels.size())
                    .arg(request.stagePaths.size());
    return error.isEmpty();
}

int RunCompare(const CompareRequest& request, QTextStream& out, QTextStream& err, const std::atomic<bool>* cancel)
{
    const auto cancelled = [cancel] { return cancel != nullptr && cancel->load(); };
    const auto shared =
        std::make_shared<const Comparison>(RunComparison(Stages(request), Separators::current(), cancel));
    const Comparison& comparison = *shared;
    const int skipped = ReportSkipped(comparison, err);

    QList<Export> exports;
    if (!request.pdfPath.isEmpty())
        exports.append({request.pdfPath, [&](QIODevice& device) {
                            const TableReport report = BuildComparisonReport({shared, request.anonymised});
                            return WriteComparisonPdf(device, report, [&cancelled](int, int) { return !cancelled(); });
                        }});
    if (!request.csvPath.isEmpty())
        exports.append({request.csvPath, [&](QIODevice& device) {
                            ComparisonTable table(comparison, request.anonymised);
                            table.setOrder(ComparisonTable::Order::WorseFirst);
                            return table.writeCsv(device, cancel);
                        }});
    const ExportOutcome outcome = WriteOutputs(exports, err, cancel);
    if (outcome == ExportOutcome::Cancelled) {
        err << "vornale-summary: " << CancelledReason() << Qt::endl;
        return ExitCancelled;
    }
    // An export on standard output keeps it to itself.
    QTextStream& figures = ExportsTakeStandardOutput(exports) ? err : out;
    for (const QString& line : GroupFiguresLines(comparison, ComputeGroupFigures(comparison)))
        figures << line << '\n';
    out.flush();
    err.flush();
    if (outcome == ExportOutcome::Failed)
        return ExitUsage;
    return skipped > 0 ? ExitSomeSkipped : ExitAllRead;
}

int RunCompareCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    CompareRequest request;
    QString error;
    bool helpShown = false;
    if (!ParseCompareCommandLine(arguments, request, error, helpShown, out)) {
        err << "vornale-summary: " << error << '\n'
            << QStringLiteral("Использование: ") << kCompareUsage << Qt::endl;
        return ExitUsage;
    }
    if (helpShown) {
        out.flush();
        return ExitAllRead;
    }
    const SignalCancellation cancelling;
    return cancelling.exitCode(RunCompare(request, out, err, cancelling.flag()), ExitCancelled);
}

bool CompareWantsWindow(const QStringList& arguments, CompareRequest& request)
{
    if (!IsCompareRequest(arguments))
        return false;
    QString error;
    bool helpShown = false;
    QString ignored;
    QTextStream nowhere(&ignored);
    return ParseCompareCommandLine(arguments, request, error, helpShown, nowhere) && !helpShown
           && request.csvPath.isEmpty() && request.pdfPath.isEmpty();
}
