#pragma once

#include "compare/Comparison.h"
#include "compare/PersonCourse.h"

#include <QStringList>

#include <atomic>
#include <optional>
#include <vector>

class QIODevice;

// The persons as the outputs show them (CSV, report, window): one row per person, each stage's
// values and the change. Anonymised, the comparison is one made WithoutNames: the person's name
// is the code, and the file column is left out; every output made from that one comparison shows
// a person under one code. The comparison must outlive the table.
class ComparisonTable
{
public:
    enum class Order
    {
        ByName,
        WorseFirst
    };
    enum class PersonColumn
    {
        Person,
        Sex,
        Marks,
        Change,
        Direction,
        Count
    };
    enum class StageColumn
    {
        Index,
        Level,
        Kerdo,
        Balance,
        State,
        File,
        Count
    };

    ComparisonTable(const Comparison& comparison, bool anonymised);

    bool anonymised() const { return m_anonymised; }
    // ByName: the persons' order (by name; by code without names). WorseFirst: the largest rise
    // of ИФИ first, persons without a change last; ties as ByName.
    void setOrder(Order order);

    qsizetype rowCount() const { return qsizetype(m_order.size()); }
    const ComparedPerson& person(qsizetype row) const;
    const PersonCourse& course(qsizetype row) const { return m_courses[m_order[std::size_t(row)]]; }
    // The name, or the person's code when anonymised.
    QString personText(qsizetype row) const;

    // Where a column lies in captions() and cells(): -1 for one left out.
    qsizetype column(PersonColumn column) const;
    qsizetype column(std::size_t stage, StageColumn column) const;

    QStringList captions() const;
    QStringList cells(qsizetype row) const;

    // Writes the table as CSV (the summary's format) into `out`. Returns an empty text on success,
    // else the reason.
    QString writeCsv(QIODevice& out, const std::atomic<bool>* cancel = nullptr) const;
    // The same as an export to `path`, replacing a file only when all is written.
    QString writeCsv(const QString& path) const;

private:
    // What a shown column holds.
    struct Column
    {
        std::optional<PersonColumn> person;
        StageColumn stageColumn = StageColumn::Index;
        std::size_t stage = 0;
    };
    QString cell(const Column& column, qsizetype row) const;

    const Comparison& m_comparison;
    bool m_anonymised;
    std::vector<Column> m_columns;
    std::vector<PersonCourse> m_courses; // by person index
    std::vector<std::size_t> m_order;    // row -> person index
};

// What the WorseFirst order is, for a legend.
QString RowOrderText(bool anonymised);
