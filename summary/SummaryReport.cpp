#include "summary/SummaryReport.h"

#include "summary/CsvExport.h"

#include <QFileInfo>
#include <QPagedPaintDevice>
#include <QPainter>

namespace {

const QString kTitle = QStringLiteral("Сводка по группе");

// Short captions that fit their columns; the note spells them out. Widths are shares of the
// page's width, set for A4 landscape.
std::array<TableColumn, SummaryColumnCount> ReportColumns()
{
    constexpr auto left = Qt::AlignLeft;
    constexpr auto right = Qt::AlignRight;
    std::array<TableColumn, SummaryColumnCount> c;
    c[ColPath] = {QStringLiteral("Файл"), 27, left, Qt::ElideMiddle};
    c[ColName] = {QStringLiteral("ФИО"), 32, left};
    c[ColSex] = {QStringLiteral("Пол"), 7, Qt::AlignHCenter};
    c[ColSystolic] = {QStringLiteral("Сист. АД"), 12, right};
    c[ColDiastolic] = {QStringLiteral("Диаст. АД"), 12, right};
    c[ColPulse] = {QStringLiteral("Пульс"), 10, right};
    c[ColWeight] = {QStringLiteral("Вес"), 9, right};
    c[ColHeight] = {QStringLiteral("Рост"), 9, right};
    c[ColAge] = {QStringLiteral("Возр."), 9, right};
    c[ColOutcome] = {QStringLiteral("Результат"), 26, left};
    c[ColIndex] = {QStringLiteral("ИФИ"), 10, right};
    c[ColLevel] = {QStringLiteral("Уровень адаптации"), 36, left};
    c[ColExpectedSystolic] = {QStringLiteral("Сист. по ИМ"), 12, right};
    c[ColExpectedDiastolic] = {QStringLiteral("Диаст. по ИМ"), 12, right};
    c[ColOptimalWeight] = {QStringLiteral("Опт. вес"), 10, right};
    c[ColKerdo] = {QStringLiteral("Кердо"), 10, right};
    c[ColBalance] = {QStringLiteral("Вег. баланс"), 27, left};
    return c;
}

const QString kCaptionNote = QStringLiteral(
    "Сист. АД, Диаст. АД — систолическое и диастолическое артериальное давление, мм рт. ст.; Пульс — уд. в мин; "
    "Вес — кг; Рост — см; Возр. — возраст, лет; ИФИ — индекс функциональных изменений сердечно-сосудистой системы; "
    "Сист. по ИМ, Диаст. по ИМ — давление, ожидаемое по индексу массы, мм рт. ст.; Опт. вес — оптимальный вес, кг; "
    "Кердо — вегетативный индекс Кердо; Вег. баланс — вегетативный баланс. "
    "Доли уровней адаптации и баланса — от числа рассчитанных, остальные — от числа файлов.");

// The fills: one per level in kAllLevels' order (the level's light tint and its own mark), then
// the tint of a file that was not assessed, whose index is returned.
int AddReportFills(TableReport& report)
{
    report.fills = LevelCellFills();
    return report.addFill({QColor(0xff, 0xe0, 0xe0), CellMark::None});
}

QString Share(int count, int of, QChar decimal)
{
    if (of <= 0)
        return QStringLiteral("%1").arg(count);
    const QString percent = QString::number(100.0 * count / of, 'f', 1).replace(u'.', decimal);
    return QStringLiteral("%1 (%2\u00a0%)").arg(count).arg(percent);
}

// A file inside the one folder chosen is named relative to it: the heading names the folder.
QString ShownPath(const QString& path, const QStringList& sources)
{
    if (sources.size() == 1) {
        const QString folder = sources.front().endsWith(u'/') ? sources.front() : sources.front() + u'/';
        if (path.startsWith(folder))
            return path.mid(folder.size());
    }
    return path;
}

QString NameOf(const QString& source)
{
    const QString name = QFileInfo(source).fileName();
    return name.isEmpty() ? source : name;
}

} // namespace

QList<CellFill> LevelCellFills()
{
    const CellMark marks[] = {CellMark::Circle, CellMark::Triangle, CellMark::FilledTriangle, CellMark::FilledSquare};
    QList<CellFill> fills;
    for (std::size_t i = 0; i < kAllLevels.size(); ++i) {
        const TColor c = LevelColorTo(kAllLevels[i]);
        fills.append({QColor(RedOf(c), GreenOf(c), BlueOf(c)), marks[i]});
    }
    return fills;
}

int LevelFill(AdaptationLevel level)
{
    return int(std::find(kAllLevels.begin(), kAllLevels.end(), level) - kAllLevels.begin());
}

QString ReportGroupName(const QStringList& sources)
{
    constexpr int kNamed = 3;
    QStringList names;
    for (qsizetype i = 0; i < sources.size() && i < kNamed; ++i)
        names << NameOf(QFileInfo(sources[i]).filePath());
    QString name = names.join(QStringLiteral(", "));
    if (sources.size() > kNamed)
        name += QStringLiteral(" и ещё %1").arg(sources.size() - kNamed);
    return name;
}

TableReport BuildSummaryReport(const SummaryRows& rows, const ReportHeading& heading)
{
    const SummaryCounts counts = CountRows(rows);
    const QChar decimal = heading.decimal;
    TableReport report;
    report.title = kTitle;
    report.subject = heading.namesFree ? QStringLiteral("коды вместо имён") : ReportGroupName(heading.sources);
    report.date = heading.made.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    if (heading.namesFree)
        report.headingLines << QStringLiteral("Имена заменены кодами, имена файлов и пути не указаны");
    else
        report.headingLines << QStringLiteral("Группа: %1").arg(report.subject)
                            << QStringLiteral("Источник: %1").arg(heading.sources.join(QStringLiteral(", ")));
    report.headingLines << QStringLiteral("Дата: %1").arg(report.date)
                        << QStringLiteral("Файлов: %1; рассчитано: %2; ошибка ввода: %3; неверный формат: %4; "
                                          "ошибка чтения: %5")
                               .arg(counts.files)
                               .arg(Share(counts.assessed, counts.files, decimal),
                                    Share(counts.notAcceptable, counts.files, decimal),
                                    Share(counts.formatErrors, counts.files, decimal),
                                    Share(counts.readErrors, counts.files, decimal));
    for (AdaptationLevel level : kAllLevels)
        report.legend.append({LevelFill(level), QStringLiteral("%1: %2").arg(
                                                    LevelText(level), Share(counts.level(level), counts.assessed, decimal))});
    QStringList balances;
    for (VegetativeBalance balance : kAllBalances)
        balances << QStringLiteral("%1: %2").arg(BalanceText(balance),
                                                 Share(counts.balance(balance), counts.assessed, decimal));
    report.legend.append({-1, balances.join(QStringLiteral("; "))});
    report.note = kCaptionNote;
    const int notAssessedFill = AddReportFills(report);
    const auto columns = ReportColumns();
    const std::vector<SummaryColumn> shown = ExportedSummaryColumns(heading.namesFree);
    for (SummaryColumn column : shown) {
        report.columns.append(columns[std::size_t(column)]);
        if (heading.namesFree && column == ColName)
            report.columns.back().caption = ExportedSummaryCaption(column, true);
    }
    report.rowCount = rows.size();
    report.rowAt = [rows, sources = heading.sources, shown, notAssessedFill](qsizetype i) {
        const SummaryRow& row = rows[i];
        SummaryCells texts = SummaryRowCells(row);
        texts[ColPath] = ShownPath(texts[ColPath], sources);
        TableRow cells;
        for (SummaryColumn column : shown) {
            TableCell cell{std::move(texts[std::size_t(column)])};
            if (column == ColLevel && row.outcome == RowOutcome::Assessed)
                cell.fill = LevelFill(row.result.Level);
            else if (column == ColOutcome && row.outcome != RowOutcome::Assessed)
                cell.fill = notAssessedFill;
            cells.append(cell);
        }
        return cells;
    };
    return report;
}

QPageLayout SummaryReportPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                       QPageLayout::Millimeter);
}

bool PrintSummaryReport(const SummaryRows& rows, const ReportHeading& heading, QPagedPaintDevice& device,
                        const PageProgress& progress)
{
    return PrintTableReport(device, BuildSummaryReport(rows, heading), progress);
}

QString WriteSummaryPdf(QIODevice& out, const SummaryRows& rows, const ReportHeading& heading,
                        const PageProgress& progress)
{
    return WriteTableReportPdf(out, BuildSummaryReport(rows, heading), SummaryReportPageLayout(), progress);
}

QString WriteSummaryPdf(const QString& path, const SummaryRows& rows, const ReportHeading& heading,
                        const PageProgress& progress)
{
    return WriteTableReportPdf(path, BuildSummaryReport(rows, heading), SummaryReportPageLayout(), progress);
}

SummaryRows NamesFreeRows(const SummaryRows& rows, const PersonCodes& codes)
{
    SummaryRows shown(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i)
        shown[qsizetype(codes.number(std::size_t(i)))] = NamesFreeRow(rows[i], codes.code(std::size_t(i)));
    return shown;
}
