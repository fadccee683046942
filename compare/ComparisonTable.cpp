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

ComparisonTable::ComparisonTable(const Comparison& comparison, bool anonymised)
    : m_comparison(comparison), m_anonymised(anonymised)
{
    m_courses.reserve(comparison.persons.size());
    for (const ComparedPerson& person : comparison.persons)
        m_courses.push_back(CourseOf(comparison, person));
    m_order.resize(comparison.persons.size());
    std::iota(m_order.begin(), m_order.end(), std::size_t(0));
    for (PersonColumn person : {PersonColumn::Person, PersonColumn::Sex, PersonColumn::Marks})
        m_columns.push_back({person});
    for (std::size_t s = 0; s < comparison.stages.size(); ++s) {
        for (int c = 0; c < int(StageColumn::Count); ++c) {
            if (!(anonymised && StageColumn(c) == StageColumn::File))
                m_columns.push_back({std::nullopt, StageColumn(c), s});
        }
    }
    for (PersonColumn person : {PersonColumn::Change, PersonColumn::Direction})
        m_columns.push_back({person});
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
    return person(row).name;
}

qsizetype ComparisonTable::column(PersonColumn column) const
{
    const auto at = std::find_if(m_columns.cbegin(), m_columns.cend(),
                                 [column](const Column& c) { return c.person == column; });
    return at == m_columns.cend() ? -1 : at - m_columns.cbegin();
}

qsizetype ComparisonTable::column(std::size_t stage, StageColumn column) const
{
    const auto at = std::find_if(m_columns.cbegin(), m_columns.cend(), [&](const Column& c) {
        return !c.person && c.stage == stage && c.stageColumn == column;
    });
    return at == m_columns.cend() ? -1 : at - m_columns.cbegin();
}

QStringList ComparisonTable::captions() const
{
    static const std::array<QString, std::size_t(StageColumn::Count)> stageCaptions{
        QStringLiteral("ИФИ"),          QStringLiteral("уровень адаптации"),
        QStringLiteral("индекс Кердо"), QStringLiteral("вегетативный баланс"),
        QStringLiteral("состояние"),    QStringLiteral("файл")};
    QStringList captions;
    for (const Column& column : m_columns) {
        if (!column.person) {
            captions << QStringLiteral("%1: %2").arg(m_comparison.stages[column.stage].input.label,
                                                     stageCaptions[std::size_t(column.stageColumn)]);
            continue;
        }
        switch (*column.person) {
        case PersonColumn::Person: captions << (m_anonymised ? QStringLiteral("Код") : QStringLiteral("ФИО")); break;
        case PersonColumn::Sex: captions << QStringLiteral("Пол"); break;
        case PersonColumn::Marks: captions << QStringLiteral("Отметки"); break;
        case PersonColumn::Change: captions << QStringLiteral("Изменение ИФИ"); break;
        case PersonColumn::Direction: captions << QStringLiteral("Направление уровня"); break;
        case PersonColumn::Count: break;
        }
    }
    return captions;
}

QString ComparisonTable::cell(const Column& column, qsizetype row) const
{
    const ComparedPerson& who = person(row);
    if (column.person) {
        const PersonCourse& path = course(row);
        switch (*column.person) {
        case PersonColumn::Person: return personText(row);
        case PersonColumn::Sex: return SexKnown(m_comparison, who) ? SexText(who.sex) : QString();
        case PersonColumn::Marks: return MarksText(who);
        case PersonColumn::Change: return path.changeHundredths ? HundredthsText(*path.changeHundredths) : QString();
        case PersonColumn::Direction: return path.direction ? DirectionText(*path.direction) : QString();
        case PersonColumn::Count: break;
        }
        return {};
    }
    const StagePresence& presence = who.stages[column.stage];
    const SummaryRows& rows = m_comparison.stages[column.stage].rows;
    if (column.stageColumn == StageColumn::File) {
        QStringList files;
        for (qsizetype r : presence.rows)
            files << rows[r].path;
        return files.join(QStringLiteral(" | "));
    }
    if (column.stageColumn == StageColumn::State) {
        if (presence.kind == Presence::Missing)
            return QStringLiteral("нет в этапе");
        if (presence.kind == Presence::Ambiguous)
            return QStringLiteral("неоднозначно: файлов %1").arg(presence.rows.size());
        return OutcomeText(rows[presence.rows.front()]);
    }
    const SummaryRow* file = m_comparison.singleRow(who, column.stage);
    if (file == nullptr || file->outcome != RowOutcome::Assessed)
        return {};
    switch (column.stageColumn) {
    case StageColumn::Index: return file->adaptationIndexShown;
    case StageColumn::Level: return LevelText(file->result.Level);
    case StageColumn::Kerdo: return QString::number(file->result.KerdoShown);
    case StageColumn::Balance: return BalanceText(file->result.Balance);
    default: return {};
    }
}

QStringList ComparisonTable::cells(qsizetype row) const
{
    QStringList cells;
    cells.reserve(qsizetype(m_columns.size()));
    for (const Column& column : m_columns)
        cells << cell(column, row);
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

QString RowOrderText(bool anonymised)
{
    return QStringLiteral("Строки — по изменению ИФИ от первого этапа к последнему: наибольший рост первым, без "
                          "изменения — в конце; при равном изменении — по %1")
        .arg(anonymised ? QStringLiteral("коду") : QStringLiteral("ФИО"));
}
