#include "summary_app/GroupsCommandLine.h"

#include "groups/GroupSources.h"
#include "groups/GroupsCsv.h"
#include "groups/GroupsJson.h"
#include "groups/GroupsReport.h"
#include "groups/GroupsText.h"
#include "reports/ExportFile.h"
#include "reports/NamesFreeExport.h"
#include "summary/RecordFileAssessment.h"
#include "summary/RecordFileScan.h"
#include "commandline/ProgramCommandLine.h"
#include "summary_app/CommandLine.h"
#include "summary_app/SignalCancellation.h"

#include <QCommandLineParser>
#include <QDateTime>

namespace {

const QString kGroupsUsage = QStringLiteral(
    "vornale-summary --by folder|sex|age[,…] [--age-bands 13,16,…] [--label МЕТКА]… [--csv ФАЙЛ.csv] "
    "[--pdf ФАЙЛ.pdf] [--json ФАЙЛ.json] [--anonymise] ПУТЬ…");

const QString kGroupsDescription = QStringLiteral(
        "Группы рядом: рассчитанные файлы делятся по папкам (каждый ПУТЬ — своя группа), полу и "
        "возрасту, в любом сочетании; для каждой группы — доли уровней и баланса, медианы с "
        "квартилями, между группами — критерии, и группа риска.");

void Configure(ProgramCommandLine& commandLine)
{
    commandLine.addOption({QStringLiteral("by"), QStringLiteral("Чем делить: folder, sex, age, через запятую."),
                      QStringLiteral("КЛЮЧИ")});
    commandLine.addOption({QStringLiteral("age-bands"),
                      QStringLiteral("Нижние границы возрастных групп (по умолчанию 13,16,18,22,36,61)."),
                      QStringLiteral("ЛЕТ,…")});
    commandLine.addOption({QStringLiteral("label"), QStringLiteral("Метка очередного пути (по умолчанию имя папки)."),
                      QStringLiteral("МЕТКА")});
    commandLine.addOption({QStringLiteral("csv"), QStringLiteral("Записать группы в CSV, строка на группу."),
                      QStringLiteral("ФАЙЛ")});
    commandLine.addOption({QStringLiteral("pdf"), QStringLiteral("Записать отчет в PDF."), QStringLiteral("ФАЙЛ")});
    commandLine.addOption({QStringLiteral("json"), QStringLiteral("Записать все числа в JSON."), QStringLiteral("ФАЙЛ")});
    commandLine.addOption({{QStringLiteral("anonymise"), QStringLiteral("anonymize")},
                      QStringLiteral("В группе риска коды вместо имен, без путей к файлам.")});
    commandLine.addPositionalArgument(QStringLiteral("ПУТЬ"), QStringLiteral("Файлы записей и папки с ними."),
                                 QStringLiteral("ПУТЬ…"));
}

} // namespace

bool IsGroupsRequest(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size() && arguments[i] != QLatin1String("--"); ++i) {
        if (arguments[i] == QLatin1String("--by") || arguments[i].startsWith(QLatin1String("--by=")))
            return true;
    }
    return false;
}

bool ParseGroupsCommandLine(const QStringList& arguments, GroupsRequest& request, QString& error, bool& helpShown,
                            QTextStream& out)
{
    ProgramCommandLine commandLine = GroupProgramCommandLine(kGroupsDescription);
    Configure(commandLine);
    if (!ReadCommandLine(commandLine, arguments, error, helpShown, out))
        return false;
    if (helpShown)
        return true;
    const QCommandLineParser& parser = commandLine.parser();
    request.paths = parser.positionalArguments();
    request.labels = parser.values(QStringLiteral("label"));
    request.csvPath = parser.value(QStringLiteral("csv"));
    request.pdfPath = parser.value(QStringLiteral("pdf"));
    request.jsonPath = parser.value(QStringLiteral("json"));
    request.anonymised = parser.isSet(QStringLiteral("anonymise"));
    const auto keys = ParseGroupingKeys(parser.value(QStringLiteral("by")));
    const auto bands = parser.isSet(QStringLiteral("age-bands"))
                           ? ParseAgeBands(parser.value(QStringLiteral("age-bands")))
                           : std::optional<std::vector<int>>(DefaultAgeBands());
    for (const char* output : {"csv", "pdf", "json"}) {
        if (parser.isSet(QLatin1String(output)) && parser.value(QLatin1String(output)).isEmpty())
            error = QStringLiteral("не указан файл для --%1").arg(QLatin1String(output));
    }
    if (!error.isEmpty())
        return false;
    if (!keys)
        error = QStringLiteral("--by: folder, sex или age через запятую, каждое не больше раза");
    else if (!bands)
        error = QStringLiteral("--age-bands: целые числа лет по возрастанию через запятую");
    else if (request.paths.isEmpty())
        error = QStringLiteral("не указаны файлы или папки");
    else if (request.labels.size() > request.paths.size())
        error = QStringLiteral("меток (%1) больше, чем путей (%2)").arg(request.labels.size()).arg(request.paths.size());
    if (!error.isEmpty())
        return false;
    request.grouping = {*keys, *bands};
    return true;
}

int RunGroups(const GroupsRequest& request, QTextStream& out, QTextStream& err, const std::atomic<bool>* cancel)
{
    const auto [list, rows] = AssessPaths(request.paths, cancel);
    const GroupsResult result =
        ComputeGroups(SplitBySource(request.paths, request.labels, rows, request.anonymised), request.grouping, cancel);
    const auto interrupted = [&] {
        if (!Cancelled(cancel))
            return false;
        err << "vornale-summary: " << QStringLiteral("прервано") << Qt::endl;
        return true;
    };
    if (interrupted())
        return ExitCancelled;

    // Without names no output of the run, standard error included, names a person or a path.
    int skipped = int(list.skipped.size());
    for (const SkippedPath& path : list.skipped)
        err << (request.anonymised ? QString() : path.path + QStringLiteral(": ")) << path.reason << Qt::endl;
    for (const SummaryRow& row : rows) {
        if (IsSkipped(row)) {
            ++skipped;
            err << (request.anonymised ? QString() : row.path + QStringLiteral(": ")) << row.reason << Qt::endl;
        }
    }

    const RiskCoder coder = request.anonymised ? NamesFreeCoder(rows) : RiskCoder();
    const QString date = QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    QList<Export> exports;
    QStringList recorded;
    if (!request.pdfPath.isEmpty()) {
        exports.append({request.pdfPath, [&](QIODevice& device) {
                            return WriteGroupsPdf(device, result, date, coder,
                                                  [cancel](int, int) { return !Cancelled(cancel); });
                        }});
        recorded << QStringLiteral("группы, PDF");
    }
    if (!request.csvPath.isEmpty()) {
        exports.append({request.csvPath, [&](QIODevice& device) { return WriteGroupsCsv(device, result, cancel); }});
        recorded << QStringLiteral("группы, CSV");
    }
    if (!request.jsonPath.isEmpty()) {
        exports.append({request.jsonPath, [&](QIODevice& device) { return WriteBytes(device, GroupsJson(result, coder)); }});
        recorded << QStringLiteral("группы, JSON");
    }
    const ExportOutcome outcome = WriteOutputs(exports, err, cancel);
    if (outcome == ExportOutcome::Cancelled) {
        err << "vornale-summary: " << CancelledReason() << Qt::endl;
        return ExitCancelled;
    }
    if (outcome == ExportOutcome::Placed) {
        for (const QString& what : recorded)
            RecordExport({what, request.anonymised, rows.size()});
    }
    // An export on standard output keeps it to itself.
    QTextStream& figures = ExportsTakeStandardOutput(exports) ? err : out;
    for (const QString& line : GroupsLines(result))
        figures << line << '\n';
    out.flush();
    err.flush();
    if (outcome == ExportOutcome::Failed)
        return ExitUsage;
    return skipped > 0 ? ExitSomeSkipped : ExitAllRead;
}

int RunGroupsCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    GroupsRequest request;
    QString error;
    bool helpShown = false;
    if (!ParseGroupsCommandLine(arguments, request, error, helpShown, out)) {
        err << "vornale-summary: " << error << '\n' << QStringLiteral("Использование: ") << kGroupsUsage << Qt::endl;
        return ExitUsage;
    }
    if (helpShown) {
        out.flush();
        return ExitAllRead;
    }
    const SignalCancellation cancelling;
    return cancelling.exitCode(RunGroups(request, out, err, cancelling.flag()), ExitCancelled);
}
