#include "summary_app/CompareCommandLine.h"

#include "summary_app/SignalCancellation.h"

#include "compare/ComparisonReport.h"
#include "compare/ComparisonRun.h"
#include "compare/ComparisonTable.h"
#include "compare/GroupFigures.h"
#include "commandline/ProgramCommandLine.h"
#include "summary_app/CommandLine.h"
#include "reports/NamesFreeExport.h"
#include "summary_app/ComparisonJson.h"
#include "summary_app/GroupsCommandLine.h"

#include <QCommandLineParser>

namespace {

const QString kCompareUsage = QStringLiteral("vornale-summary --compare [--label МЕТКА]… [--csv "
                                             "ФАЙЛ.csv] [--pdf ФАЙЛ.pdf] [--json ФАЙЛ.json] [--anonymise [--key КЛЮЧ.csv]] "
                                             "ЭТАП ЭТАП…");

const QString kCompareDescription = QStringLiteral(
        "Сравнение обследований одной группы: каждый ЭТАП — папка с файлами записей или файл "
        "записи. "
        "Метки и имена папок, начинающиеся с даты (2026-09, 2026-09-01 7А, 01.09.2026 7А), упорядочивают "
        "этапы, если дата есть у каждого этапа; иначе этапы идут в заданном порядке. Какой порядок взят, "
        "сказано в выводе.");

void Configure(ProgramCommandLine& commandLine)
{
    commandLine.addOption({QStringLiteral("compare"), QStringLiteral("Сравнить этапы.")});
    commandLine.addOption({QStringLiteral("label"),
                      QStringLiteral("Метка очередного этапа (по умолчанию имя папки)."),
                      QStringLiteral("МЕТКА")});
    commandLine.addOption({QStringLiteral("csv"), QStringLiteral("Записать сравнение в CSV (- — в стандартный вывод)."),
                      QStringLiteral("ФАЙЛ")});
    commandLine.addOption(
        {QStringLiteral("pdf"), QStringLiteral("Записать отчет в PDF (- — в стандартный вывод)."),
         QStringLiteral("ФАЙЛ")});
    commandLine.addOption({QStringLiteral("json"), QStringLiteral("Записать числа этапов и тесты в JSON (- — в стандартный вывод)."),
                      QStringLiteral("ФАЙЛ")});
    commandLine.addOption({{QStringLiteral("anonymise"), QStringLiteral("anonymize")},
                      QStringLiteral("Вместо имен писать коды (новые при каждом запуске), без имен файлов и путей; "
                                     "этап без метки называется «Этап N».")});
    commandLine.addOption({QStringLiteral("key"),
                      QStringLiteral("С --anonymise: записать ключ (код и ФИО) в отдельный файл, доступный "
                                     "только владельцу."),
                      QStringLiteral("ФАЙЛ")});
    commandLine.addPositionalArgument(QStringLiteral("ЭТАП"), QStringLiteral("Папка или файл записи."),
                                 QStringLiteral("ЭТАП ЭТАП…"));
}

ArrangedStages Stages(const CompareRequest& request)
{
    QList<StageInput> stages;
    for (qsizetype i = 0; i < request.stagePaths.size(); ++i)
        stages.append({{request.stagePaths[i]}, request.labels.value(i), i < request.labels.size()});
    return ArrangeStages(stages);
}

// Without names a skipped file is told by its stage and reason only.
QString Located(const QString& path)
{
    return path.isEmpty() ? QString() : path + QStringLiteral(": ");
}

int ReportSkipped(const Comparison& comparison, QTextStream& err)
{
    int skipped = 0;
    for (const StageResult& stage : comparison.stages) {
        for (const SkippedPath& path : stage.skipped) {
            ++skipped;
            err << stage.input.label << ": " << Located(path.path) << path.reason << Qt::endl;
        }
        for (const SummaryRow& row : stage.rows) {
            if (IsSkipped(row)) {
                ++skipped;
                err << stage.input.label << ": " << Located(row.path) << row.reason << Qt::endl;
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
    ProgramCommandLine commandLine = GroupProgramCommandLine(kCompareDescription);
    Configure(commandLine);
    if (!ReadCommandLine(commandLine, arguments, error, helpShown, out))
        return false;
    if (helpShown)
        return true;
    const QCommandLineParser& parser = commandLine.parser();
    request.stagePaths = parser.positionalArguments();
    request.labels = parser.values(QStringLiteral("label"));
    request.csvPath = parser.value(QStringLiteral("csv"));
    request.pdfPath = parser.value(QStringLiteral("pdf"));
    request.anonymised = parser.isSet(QStringLiteral("anonymise"));
    request.keyPath = parser.value(QStringLiteral("key"));
    if (parser.isSet(QStringLiteral("key")) && (request.keyPath.isEmpty() || !request.anonymised))
        error = QStringLiteral("--key записывает ключ кодов и нужен вместе с --anonymise и именем файла");
    request.jsonPath = parser.value(QStringLiteral("json"));
    if (parser.isSet(QStringLiteral("json")) && request.jsonPath.isEmpty())
        error = QStringLiteral("не указан файл для --json");
    else if (parser.isSet(QStringLiteral("csv")) && request.csvPath.isEmpty())
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
    // One hand-over for every output of the run: without names, one set of codes for all of them.
    const ComparisonHandOver handOver = MakeHandOver(shared, request.anonymised);
    const Comparison& comparison = *handOver.shown;
    const int skipped = ReportSkipped(comparison, err);
    const auto record = [&](const QString& what) {
        RecordExport({what, request.anonymised, qsizetype(comparison.persons.size())});
    };

    QList<Export> exports;
    QStringList recorded;
    if (!request.pdfPath.isEmpty()) {
        exports.append({request.pdfPath, [&](QIODevice& device) {
                            const TableReport report = BuildComparisonReport({handOver.shown, request.anonymised});
                            return WriteComparisonPdf(device, report, [&cancelled](int, int) { return !cancelled(); });
                        }});
        recorded << QStringLiteral("сравнение, PDF");
    }
    if (!request.csvPath.isEmpty()) {
        exports.append({request.csvPath, [&](QIODevice& device) {
                            ComparisonTable table(comparison, request.anonymised);
                            table.setOrder(ComparisonTable::Order::WorseFirst);
                            return table.writeCsv(device, cancel);
                        }});
        recorded << QStringLiteral("сравнение, CSV");
    }
    const GroupFigures groupFigures = ComputeGroupFigures(comparison);
    if (!request.jsonPath.isEmpty()) {
        exports.append({request.jsonPath, [&](QIODevice& device) {
                            return WriteBytes(device, ComparisonJson(handOver, groupFigures));
                        }});
        recorded << QStringLiteral("сравнение, JSON");
    }
    if (!request.keyPath.isEmpty()) {
        exports.append({request.keyPath, [&](QIODevice& device) { return handOver.writeKey(device); }});
        recorded << QStringLiteral("сравнение, ключ кодов");
    }
    const ExportOutcome outcome = WriteOutputs(exports, err, cancel);
    if (outcome == ExportOutcome::Cancelled) {
        err << "vornale-summary: " << CancelledReason() << Qt::endl;
        return ExitCancelled;
    }
    if (outcome == ExportOutcome::Placed) {
        if (!request.keyPath.isEmpty())
            KeepPrivate(request.keyPath);
        for (const QString& what : recorded)
            record(what);
    }
    // An export on standard output keeps it to itself.
    QTextStream& figures = ExportsTakeStandardOutput(exports) ? err : out;
    figures << StageOrderLine(comparison) << '\n';
    for (const QString& line : GroupFiguresLines(comparison, groupFigures))
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
           && request.csvPath.isEmpty() && request.pdfPath.isEmpty()
           && request.jsonPath.isEmpty();
}
