#include "summary_app/CommandLine.h"

#include "commandline/ProgramCommandLine.h"
#include "entry/StageFolder.h"
#include "summary_app/CompareCommandLine.h"
#include "summary_app/GroupsCommandLine.h"
#include "summary_app/SignalCancellation.h"
#include "summary/CsvExport.h"
#include "summary/RecordFileAssessment.h"
#include "summary/RecordFileScan.h"
#include "summary/SummaryCounts.h"
#include "summary/SummaryReport.h"
#include "reports/NamesFreeExport.h"

#include <algorithm>

namespace {

const QString kUsage = QStringLiteral(
    "vornale-summary [--csv ФАЙЛ.csv] [--pdf ФАЙЛ.pdf] [--anonymise [--key КЛЮЧ.csv]] ПУТЬ… | --enter ПАПКА");

} // namespace

CommandLineRequest ParseCommandLine(const QStringList& arguments)
{
    ProgramCommandLine commandLine =
        GroupProgramCommandLine(QStringLiteral("Сводка по группе: файлы записей и папки с ними."));
    commandLine.addOption({QStringLiteral("csv"), QStringLiteral("Записать сводку в CSV (- — в стандартный вывод)."),
                           QStringLiteral("ФАЙЛ")});
    commandLine.addOption({QStringLiteral("pdf"), QStringLiteral("Записать отчет в PDF (- — в стандартный вывод)."),
                           QStringLiteral("ФАЙЛ")});
    commandLine.addOption({{QStringLiteral("anonymise"), QStringLiteral("anonymize")},
                           QStringLiteral("Вместо имен писать коды (новые при каждом запуске), без имен файлов и путей.")});
    commandLine.addOption({QStringLiteral("key"),
                           QStringLiteral("С --anonymise: записать ключ (код и ФИО) в отдельный файл, доступный "
                                          "только владельцу."),
                           QStringLiteral("ФАЙЛ")});
    // Handled by CompareCommandLine before this parser runs; listed so the help mentions it.
    commandLine.addOption(
        {QStringLiteral("compare"), QStringLiteral("Сравнить обследования группы (см. --compare --help).")});
    // Likewise handled by GroupsCommandLine.
    commandLine.addOption(
        {QStringLiteral("by"), QStringLiteral("Группы рядом (см. --by sex --help)."), QStringLiteral("КЛЮЧИ")});
    commandLine.addOption({QStringLiteral("enter"), QStringLiteral("Открыть таблицу ввода группы для папки этапа."),
                           QStringLiteral("ПАПКА")});
    commandLine.addPositionalArgument(QStringLiteral("ПУТЬ"), QStringLiteral("Файлы записей и папки с ними."),
                                      QStringLiteral("ПУТЬ…"));
    QCommandLineParser& parser = commandLine.parser();

    CommandLineRequest request;
    const auto fail = [&request](const QString& error) {
        request.action = CommandLineRequest::Action::Fail;
        request.text = error;
        return request;
    };
    switch (commandLine.parse(arguments)) {
    case ProgramCommandLine::Outcome::Fail:
        return fail(commandLine.text());
    case ProgramCommandLine::Outcome::ShowHelp:
        request.action = CommandLineRequest::Action::ShowHelp;
        request.text = commandLine.text();
        return request;
    case ProgramCommandLine::Outcome::ShowVersion:
        request.action = CommandLineRequest::Action::ShowVersion;
        request.text = commandLine.text();
        return request;
    case ProgramCommandLine::Outcome::Run:
        break;
    }
    request.csvPath = parser.value(QStringLiteral("csv"));
    request.pdfPath = parser.value(QStringLiteral("pdf"));
    request.paths = parser.positionalArguments();
    request.anonymised = parser.isSet(QStringLiteral("anonymise"));
    request.keyPath = parser.value(QStringLiteral("key"));
    const bool csv = parser.isSet(QStringLiteral("csv"));
    const bool pdf = parser.isSet(QStringLiteral("pdf"));
    if (parser.isSet(QStringLiteral("enter"))) {
        request.enterFolder = parser.value(QStringLiteral("enter"));
        if (request.enterFolder.isEmpty())
            return fail(QStringLiteral("не указана папка для --enter"));
        if (csv || pdf || !request.paths.isEmpty())
            return fail(QStringLiteral("--enter открывает одну папку этапа и ничего не экспортирует"));
        // A folder that cannot be written still opens: the rows can be saved elsewhere.
        if (const StageFolderProblem problem = CheckStageFolder(request.enterFolder);
            problem.kind == StageFolderProblem::NotAFolder)
            return fail(QStringLiteral("--enter: %1").arg(problem.message));
        return request; // the entry table
    }
    if (csv && request.csvPath.isEmpty())
        return fail(QStringLiteral("не указан файл для --csv"));
    if (pdf && request.pdfPath.isEmpty())
        return fail(QStringLiteral("не указан файл для --pdf"));
    if (parser.isSet(QStringLiteral("key")) && (request.keyPath.isEmpty() || !request.anonymised))
        return fail(QStringLiteral("--key записывает ключ кодов и нужен вместе с --anonymise и именем файла"));
    if (!csv && !pdf)
        return request; // the window
    if (request.paths.isEmpty())
        return fail(QStringLiteral("не указаны файлы или папки"));
    request.action = CommandLineRequest::Action::Export;
    return request;
}

int RunExport(const CommandLineRequest& request, QTextStream& out, QTextStream& err, const std::atomic<bool>* cancel)
{
    const auto [list, rows] = AssessPaths(request.paths, cancel);
    const auto interrupted = [&err] {
        err << "vornale-summary: " << CancelledReason() << Qt::endl;
        return ExitCancelled;
    };
    if (Cancelled(cancel))
        return interrupted();

    // Without names every output of the run, standard error included, tells no name or path, and
    // one set of codes serves them all.
    const PersonCodes codes = request.anonymised ? PersonCodes(std::size_t(rows.size())) : PersonCodes();
    const SummaryRows shown = request.anonymised ? NamesFreeRows(rows, codes) : rows;
    int skipped = int(list.skipped.size());
    for (const SkippedPath& path : list.skipped)
        err << (request.anonymised ? QString() : path.path + QStringLiteral(": ")) << path.reason << Qt::endl;
    for (const SummaryRow& row : shown) {
        if (IsSkipped(row)) {
            ++skipped;
            err << (request.anonymised ? row.texts.FullName : row.path) << ": " << row.reason << Qt::endl;
        }
    }
    const auto record = [&](const QString& what) {
        RecordExport({what, request.anonymised, rows.size()});
    };

    ReportHeading heading;
    heading.sources = request.anonymised ? QStringList() : request.paths;
    heading.namesFree = request.anonymised;
    QList<Export> exports;
    QStringList recorded;
    if (!request.pdfPath.isEmpty()) {
        exports.append({request.pdfPath, [&](QIODevice& device) {
                            return WriteSummaryPdf(device, shown, heading,
                                                   [cancel](int, int) { return !Cancelled(cancel); });
                        }});
        recorded << QStringLiteral("сводка, PDF");
    }
    if (!request.csvPath.isEmpty()) {
        exports.append({request.csvPath,
                        [&](QIODevice& device) { return WriteSummaryCsv(device, shown, cancel, request.anonymised); }});
        recorded << QStringLiteral("сводка, CSV");
    }
    if (!request.keyPath.isEmpty()) {
        exports.append({request.keyPath, [&](QIODevice& device) {
                            return WriteCodeKey(device, codes, [&rows](std::size_t i) {
                                const QString name = rows[qsizetype(i)].texts.FullName.simplified();
                                return name.isEmpty() ? QStringLiteral("(файл %1)").arg(rows[qsizetype(i)].path) : name;
                            });
                        }});
        recorded << QStringLiteral("сводка, ключ кодов");
    }
    const ExportOutcome outcome = WriteOutputs(exports, err, cancel);
    if (outcome == ExportOutcome::Cancelled)
        return interrupted();
    if (outcome == ExportOutcome::Placed) {
        if (!request.keyPath.isEmpty())
            KeepPrivate(request.keyPath);
        for (const QString& what : recorded)
            record(what);
    }
    // An export on standard output keeps it to itself.
    QTextStream& counts = ExportsTakeStandardOutput(exports) ? err : out;
    for (const QString& line : CountsLines(CountRows(rows)))
        counts << line << '\n';
    counts << QStringLiteral("Пропущено путей: ") << SkippedCountText(list.skipped) << '\n';
    out.flush();
    err.flush();
    if (outcome == ExportOutcome::Failed)
        return ExitUsage;
    return skipped > 0 ? ExitSomeSkipped : ExitAllRead;
}

ExportOutcome WriteOutputs(const QList<Export>& exports, QTextStream& err, const std::atomic<bool>* cancel)
{
    const QStringList failures = WriteExportsTogether(exports, cancel);
    if (std::all_of(failures.begin(), failures.end(), [](const QString& failure) { return failure.isEmpty(); }))
        return ExportOutcome::Placed;
    if (Cancelled(cancel))
        return ExportOutcome::Cancelled;
    for (qsizetype i = 0; i < exports.size(); ++i) {
        if (!failures[i].isEmpty())
            err << exports[i].path << ": " << QStringLiteral("не удалось записать: ") << failures[i] << Qt::endl;
    }
    return ExportOutcome::Failed;
}

bool ExportsTakeStandardOutput(const QList<Export>& exports)
{
    return std::any_of(exports.begin(), exports.end(),
                       [](const Export& output) { return NamesStandardOutput(output.path); });
}

int RunCommandLine(const CommandLineRequest& request, QTextStream& out, QTextStream& err)
{
    switch (request.action) {
    case CommandLineRequest::Action::ShowHelp:
    case CommandLineRequest::Action::ShowVersion:
        out << request.text;
        out.flush();
        return ExitAllRead;
    case CommandLineRequest::Action::Export: {
        const SignalCancellation cancelling;
        return cancelling.exitCode(RunExport(request, out, err, cancelling.flag()), ExitCancelled);
    }
    case CommandLineRequest::Action::Window:
    case CommandLineRequest::Action::Fail:
        break;
    }
    const QString error = request.action == CommandLineRequest::Action::Fail ? request.text
                                                                             : QStringLiteral("нужен --csv или --pdf");
    err << "vornale-summary: " << error << '\n' << QStringLiteral("Использование: ") << kUsage << Qt::endl;
    return ExitUsage;
}

int RunCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (IsCompareRequest(arguments))
        return RunCompareCommandLine(arguments, out, err);
    if (IsGroupsRequest(arguments))
        return RunGroupsCommandLine(arguments, out, err);
    return RunCommandLine(ParseCommandLine(arguments), out, err);
}

ProgramCommandLine GroupProgramCommandLine(const QString& description)
{
    return ProgramCommandLine(
        QStringLiteral("vornale-summary"), description,
        QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Показать эту справку.")),
        QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Показать версию.")));
}

bool ReadCommandLine(ProgramCommandLine& commandLine, const QStringList& arguments, QString& error, bool& shown,
                     QTextStream& out)
{
    shown = false;
    switch (commandLine.parse(arguments)) {
    case ProgramCommandLine::Outcome::Fail:
        error = commandLine.text();
        return false;
    case ProgramCommandLine::Outcome::ShowHelp:
    case ProgramCommandLine::Outcome::ShowVersion:
        out << commandLine.text();
        shown = true;
        return true;
    case ProgramCommandLine::Outcome::Run:
        break;
    }
    return true;
}

bool Cancelled(const std::atomic<bool>* cancel)
{
    return cancel != nullptr && cancel->load();
}

AssessedPaths AssessPaths(const QStringList& paths, const std::atomic<bool>* cancel)
{
    AssessedPaths assessed{FindRecordFiles(paths, cancel), {}};
    assessed.rows.reserve(assessed.list.files.size());
    const Separators separators = Separators::current();
    for (const QString& path : assessed.list.files) {
        if (Cancelled(cancel))
            break;
        assessed.rows.append(AssessRecordFile(path, separators));
    }
    return assessed;
}
