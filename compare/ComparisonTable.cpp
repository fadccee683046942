#include "compare/ComparisonTable.h"

#include "summary/CsvExport.h"

#include <algorithm>
#include <numeric>

namespace {

QString MarksText(const ComparedPerson& person)
{
    QStringList marks;
    if (person.unmatched)
        marks << QStringLiteral("не сопоставлен");
    if (person.sexConflict)
        marks << QStringLiteral("это имя есть и с другим полом");
    if (std::any_of(person.stages.cbegin(), person.stages.cend(),
                    [](const StagePresence& p) { return p.kind == Presence::Ambiguous; }))
        marks << QStringLiteral("несколько файлов в этапе");
    return marks.join(QStringLiteral("; "));
}

// An unread file tells no sex.
bool SexKnown(const Comparison& comparison, const ComparedPerson& person)
{
    if (!person.unmatched)
        return true;
    for (std::size_t s = 0; s < person.stages.size(); ++s) {
        if (const SummaryRow* row = comparison.singleRow(person, s))
            return row->outcome == RowOutcome::Assessed ||
                   row->outcome == RowOutcome::NotAcceptable;
    }
    return false;
}

} // namespace

QString PersonCode(std::size_t index, std::size_t count)
{
    const int width = std::max(4, int(QString::number(count).size()));
    return QStringLiteral("Л%1").arg(index + 1, width, 10, QLatin1Char('0'));
}

ComparisonTable::ComparisonTable(const Comparison& comparison, bool anonymised)
    : m_comparison(comparison), m_anonymised(anonymised)
{
    m_courses.reserve(comparison.persons.size());
    for (const ComparedPerson& person : comparison.persons)
        m_courses.push_back(CourseOf(comparison, person));
    m_order.resize(comparison.persons.size());
    std::iota(m_order.begin(), m_order.end(), std::size_t(0));
}

void ComparisonTable::setOrder(Order order)
{
    std::iota(m_order.begin(), m_order.end(), std::size_t(0));
    if (order == Order::ByName)
        return;
    std::stable_sort(m_order.begin(), m_order.end(), [this](std::size_t a, std::size_t b) {
        const std::optional<int>& x = m_courses[a].changeHundredths;
        const std::optional<int>& y = m_courses[b].changeHundredths;
        if (x.has_value() != y.has_value())
            return x.has_value();
        return x && *x > *y;
    });
}

const ComparedPerson& ComparisonTable::person(qsizetype row) const
{
    return m_comparison.persons[m_order[std::size_t(row)]];
}

QString ComparisonTable::personText(qsizetype row) const
{
    if (m_anonymised)
        return PersonCode(m_order[std::size_t(row)], m_order.size());
    return person(row).name;
}

bool ComparisonTable::showsColumn(StageColumn column) const
{
    return !(m_anonymised && column == StageColumn::File);
}

QStringList ComparisonTable::captions() const
{
    static const std::array<QString, std::size_t(StageColumn::Count)> stageCaptions{
        QStringLiteral("ИФИ"),          QStringLiteral("уровень адаптации"),
        QStringLiteral("индекс Кердо"), QStringLiteral("вегетативный баланс"),
        QStringLiteral("состояние"),    QStringLiteral("файл")};
    QStringList captions{m_anonymised ? QStringLiteral("Код") : QStringLiteral("ФИО"),
                         QStringLiteral("Пол"), QStringLiteral("Отметки")};
    for (const StageResult& stage : m_comparison.stages) {
        for (std::size_t c = 0; c < stageCaptions.size(); ++c) {
            if (showsColumn(StageColumn(c)))
                captions << QStringLiteral("%1: %2").arg(stage.input.label, stageCaptions[c]);
        }
    }
    captions << QStringLiteral("Изменение ИФИ") << QStringLiteral("Направление уровня");
    return captions;
}

QStringList ComparisonTable::stageCells(const ComparedPerson& person, std::size_t stage) const
{
    std::array<QString, std::size_t(StageColumn::Count)> cells;
    const auto cell = [&cells](StageColumn column) -> QString& {
        return cells[std::size_t(column)];
    };
    const StagePresence& presence = person.stages[stage];
    const SummaryRows& rows = m_comparison.stages[stage].rows;
    QStringList files;
    for (qsizetype r : presence.rows)
        files << rows[r].path;
    cell(StageColumn::File) = files.join(QStringLiteral(" | "));
    if (presence.kind == Presence::Missing) {
        cell(StageColumn::State) = QStringLiteral("нет в этапе");
    } else if (presence.kind == Presence::Ambiguous) {
        cell(StageColumn::State) =
            QStringLiteral("неоднозначно: файлов %1").arg(presence.rows.size());
    } else {
        const SummaryRow& row = rows[presence.rows.front()];
        cell(StageColumn::State) = OutcomeText(row);
        if (row.outcome == RowOutcome::Assessed) {
            cell(StageColumn::Index) = row.adaptationIndexShown;
            cell(StageColumn::Level) = LevelText(row.result.Level);
            cell(StageColumn::Kerdo) = QString::number(row.result.KerdoShown);
            cell(StageColumn::Balance) = BalanceText(row.result.Balance);
        }
    }
    QStringList shown;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (showsColumn(StageColumn(c)))
            shown << cells[c];
    }
    return shown;
}

QStringList ComparisonTable::cells(qsizetype row) const
{
    const ComparedPerson& who = person(row);
    const PersonCourse& path = course(row);
    QStringList cells{personText(row), SexKnown(m_comparison, who) ? SexText(who.sex) : QString(),
                      MarksText(who)};
    for (std::size_t s = 0; s < m_comparison.stages.size(); ++s)
        cells << stageCells(who, s);
    cells << (path.changeHundredths ? HundredthsText(*path.changeHundredths) : QString())
          << (path.direction ? DirectionText(*path.direction) : QString());
    return cells;
}

QString ComparisonTable::writeCsv(QIODevice& out, const std::atomic<bool>* cancel) const
{
    return WriteCsv(out, captions(), rowCount(), [this](qsizetype row) { return cells(row); }, cancel);
}

QString ComparisonTable::writeCsv(const QString& path) const
{
    return WriteExport(path, [this](QIODevice& out) { return writeCsv(out); });
}
