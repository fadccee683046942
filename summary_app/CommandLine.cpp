#include "summary_app/CommandLine.h"

#include "commandline/ProgramCommandLine.h"
#include "summary_app/CompareCommandLine.h"
#include "summary_app/GroupsCommandLine.h"
#include "summary_app/SignalCancellation.h"
#include "summary/CsvExport.h"
#include "summary/RecordFileAssessment.h"
#include "summary/RecordFileScan.h"
#include "summary/SummaryCounts.h"
#include "summary/SummaryReport.h"

namespace {

const QString kUsage = QStringLiteral("vornale-summary [--csv ФАЙЛ.csv] [--pdf ФАЙЛ.pdf] ПУТЬ… | --enter ПАПКА");

bool Cancelled(const std::atomic<bool>* cancel)
{
    return cancel != nullptr && cancel->load();
}

} // namespace

CommandLineRequest ParseCommandLine(const QStringList& arguments)
{
    ProgramCommandLine commandLine(
        QStringLiteral("vornale-summary"), QStringLiteral("Сводка по группе: файлы записей и папки с ними."),
        QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Показать эту справку.")),
        QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Показать версию.")));
    QCommandLineParser& parser = commandLine.parser();
    parser.addOption({QStringLiteral("csv"), QStringLiteral("Записать сводку в CSV."), QStringLiteral("ФАЙЛ")});
    parser.addOption({QStringLiteral("pdf"), QStringLiteral("Записать отчет в PDF."), QStringLiteral("ФАЙЛ")});
    // Handled by CompareCommandLine before this parser runs; listed so the help mentions it.
    parser.addOption({QStringLiteral("compare"), QStringLiteral("Сравнить обследования группы (см. --compare --help).")});
    // Likewise handled by GroupsCommandLine.
    parser.addOption({QStringLiteral("by"), QStringLiteral("Группы рядом (см. --by sex --help)."), QStringLiteral("КЛЮЧИ")});
    parser.addOption({QStringLiteral("enter"), QStringLiteral("Открыть таблицу ввода группы для папки этапа."),
                      QStringLiteral("ПАПКА")});
    parser.addPositionalArgument(QStringLiteral("ПУТЬ"), QStringLiteral("Файлы записей и папки с ними."),
                                 QStringLiteral("ПУТЬ…"));

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
    const bool csv = parser.isSet(QStringLiteral("csv"));
    const bool pdf = parser.isSet(QStringLiteral("pdf"));
    if (parser.isSet(QStringLiteral("enter"))) {
        request.enterFolder = parser.value(QStringLiteral("enter"));
        if (request.enterFolder.isEmpty())
            return fail(QStringLiteral("не указана папка для --enter"));
        if (csv || pdf || !request.paths.isEmpty())
            return fail(QStringLiteral("--enter открывает одну папку этапа и ничего не экспортирует"));
        return request; // the entry table
    }
    if (csv && request.csvPath.isEmpty())
        return fail(QStringLiteral("не указан файл для --csv"));
    if (pdf && request.pdfPath.isEmpty())
        return fail(QStringLiteral("не указан файл для --pdf"));
    if (!csv && !pdf)
        return request; // the window
    if (request.paths.isEmpty())
        return fail(QStringLiteral("не указаны файлы или папки"));
    request.action = CommandLineRequest::Action::Export;
    return request;
}

int RunExport(const CommandLineRequest& request, QTextStream& out, QTextStream& err, const std::atomic<bool>* cancel)
{
    const RecordFileList list = FindRecordFiles(request.paths, cancel);
    SummaryRows rows;
    rows.reserve(list.files.size());
    const Separators separators = Separators::current();
    for (const QString& path : list.files) {
        if (Cancelled(cancel))
            break;
        rows.append(AssessRecordFile(path, separators));
    }
    const auto interrupted = [&] {
        if (!Cancelled(cancel))
            return false;
        err << "vornale-summary: " << QStringLiteral("прервано") << Qt::endl;
        return true;
    };
    if (interrupted())
        return ExitCancelled;

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
    const auto report = [&](const QString& path, const QString& failure) {
        if (failure.isEmpty() || Cancelled(cancel))
            return;
        err << path << ": " << QStringLiteral("не удалось записать: ") << failure << Qt::endl;
        written = false;
    };
    // The slow report first: a cancel while it is written leaves both earlier outputs as they were.
    if (!request.pdfPath.isEmpty())
        report(request.pdfPath, WriteSummaryPdf(request.pdfPath, rows, {request.paths},
                                                [cancel](int, int) { return !Cancelled(cancel); }));
    if (!request.csvPath.isEmpty() && !Cancelled(cancel))
        report(request.csvPath, WriteSummaryCsv(request.csvPath, rows, cancel));
    if (interrupted())
        return ExitCancelled;
    for (const QString& line : CountsLines(CountRows(rows)))
        out << line << '\n';
    out << QStringLiteral("Пропущено путей: ") << SkippedCountText(list.skipped) << '\n';
    out.flush();
    err.flush();
    if (!written)
        return ExitUsage;
    return skipped > 0 ? ExitSomeSkipped : ExitAllRead;
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
