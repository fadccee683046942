#pragma once

#include "compare/Comparison.h"
#include "compare/PersonCourse.h"

#include <QStringList>

#include <atomic>
#include <vector>

class QIODevice;

// The persons as the outputs show them (CSV, report, window): one row per person, each stage's
// values and the change. Anonymised, the names and file paths are left out and each person is
// known by a code fixed by the person's place in the comparison, so the codes of one comparison
// agree in every output and every order. The comparison must outlive the table.
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
    // WorseFirst: the largest rise of ИФИ first, persons without a change last; ties by name.
    void setOrder(Order order);

    qsizetype rowCount() const { return qsizetype(m_order.size()); }
    const ComparedPerson& person(qsizetype row) const;
    const PersonCourse& course(qsizetype row) const { return m_courses[m_order[std::size_t(row)]]; }
    // The name, or the person's code when anonymised.
    QString personText(qsizetype row) const;

    QStringList captions() const;
    QStringList cells(qsizetype row) const;

    // Writes the table as CSV (the summary's format) into `out`. Returns an empty text on success,
    // else the reason.
    QString writeCsv(QIODevice& out, const std::atomic<bool>* cancel = nullptr) const;
    // The same as an export to `path`, replacing a file only when all is written.
    QString writeCsv(const QString& path) const;

private:
    bool showsColumn(StageColumn column) const;
    QStringList stageCells(const ComparedPerson& person, std::size_t stage) const;

    const Comparison& m_comparison;
    bool m_anonymised;
    std::vector<PersonCourse> m_courses; // by person index
    std::vector<std::size_t> m_order;    // row -> person index
};

// "Л0001": the code of the person at `index` (from 0) of `count`.
QString PersonCode(std::size_t index, std::size_t count);
