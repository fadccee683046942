#include "compare/GroupFigures.h"

#include "compare/PersonCourse.h"
#include "core/RegionalSettings.h"

#include <algorithm>

namespace {

QString Decimal(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    text.replace(u'.', regionalSettings().decimalSeparator());
    return text;
}

QString PText(const PairedTest& test)
{
    if (!test.pValue)
        return QStringLiteral("—");
    return *test.pValue < 0.0001 ? QStringLiteral("< %1").arg(Decimal(0.0001, 4))
                                 : Decimal(*test.pValue, 4);
}

QString OptionalDecimal(const std::optional<double>& value)
{
    return value ? Decimal(*value, 3) : QStringLiteral("—");
}

} // namespace

GroupFigures ComputeGroupFigures(const Comparison& comparison)
{
    GroupFigures figures;
    figures.stages.resize(comparison.stages.size());
    std::vector<int> changes;
    for (const ComparedPerson& person : comparison.persons) {
        if (person.sexConflict)
            ++figures.sexConflicts;
        for (std::size_t s = 0; s < comparison.stages.size(); ++s) {
            if (const SummaryRow* row = comparison.singleRow(person, s))
                figures.stages[s].counts.add(*row);
            else if (person.stages[s].kind == Presence::Ambiguous)
                figures.stages[s].ambiguousFiles += int(person.stages[s].rows.size());
        }
        const PersonCourse course = CourseOf(comparison, person);
        if (!course.changeHundredths)
            continue;
        changes.push_back(*course.changeHundredths);
        ++figures.transitions[std::size_t(int(*course.firstLevel) - 1)]
                             [std::size_t(int(*course.lastLevel) - 1)];
        switch (*course.direction) {
        case LevelDirection::Better:
            ++figures.better;
            break;
        case LevelDirection::Same:
            ++figures.same;
            break;
        case LevelDirection::Worse:
            ++figures.worse;
            break;
        }
    }
    figures.meanChange = MeanChangeInterval(changes);
    figures.signedRank = WilcoxonSignedRank(changes);
    figures.sign = SignTest(figures.better, figures.worse);
    return figures;
}

TransitionTable TransitionsWithTotals(const GroupFigures& figures)
{
    TransitionTable table{};
    for (std::size_t from = 0; from < 4; ++from) {
        for (std::size_t to = 0; to < 4; ++to) {
            const int count = figures.transitions[from][to];
            table[from][to] = count;
            table[from][4] += count;
            table[4][to] += count;
            table[4][4] += count;
        }
    }
    return table;
}

QStringList GroupFiguresLines(const Comparison& comparison, const GroupFigures& figures)
{
    QStringList lines;
    for (std::size_t s = 0; s < comparison.stages.size(); ++s) {
        const StageResult& stage = comparison.stages[s];
        const SummaryCounts& counts = figures.stages[s].counts;
        // One arg() call: a "%4" typed in a label stays as typed.
        lines << QStringLiteral("Этап %1 «%2»: файлов %3, рассчитано %4, неоднозначных %5")
                     .arg(QString::number(s + 1), stage.input.label, QString::number(stage.rows.size()),
                          QString::number(counts.assessed), QString::number(figures.stages[s].ambiguousFiles));
        for (const QString& note : StageNoteLines(comparison, s))
            lines << QStringLiteral("  ! ") + note;
        for (AdaptationLevel level : kAllLevels)
            lines << QStringLiteral("  %1: %2 (%3 %)")
                         .arg(LevelText(level))
                         .arg(counts.level(level))
                         .arg(PercentText(counts.level(level), counts.assessed));
        for (VegetativeBalance balance : kAllBalances)
            lines << QStringLiteral("  %1: %2 (%3 %)")
                         .arg(BalanceText(balance))
                         .arg(counts.balance(balance))
                         .arg(PercentText(counts.balance(balance), counts.assessed));
    }
    const int pairs = figures.better + figures.same + figures.worse;
    lines << QStringLiteral("Переходы уровней (строка — первый этап, столбец — последний), пар: %1")
                 .arg(pairs);
    qsizetype width = 0;
    for (AdaptationLevel level : kAllLevels)
        width = std::max(width, LevelText(level).size());
    for (std::size_t from = 0; from < kAllLevels.size(); ++from) {
        QString line =
            QStringLiteral("  %1").arg(LevelText(kAllLevels[from]) + u':', -int(width + 1));
        for (int count : figures.transitions[from])
            line += QStringLiteral(" %1").arg(count, 5);
        lines << line;
    }
    lines << StatisticsLines(figures);
    return lines;
}

QStringList StatisticsLines(const GroupFigures& figures)
{
    QStringList lines;
    lines << QStringLiteral("Уровень: лучше %1, так же %2, хуже %3")
                 .arg(figures.better)
                 .arg(figures.same)
                 .arg(figures.worse);
    const MeanInterval& mean = figures.meanChange;
    lines << QStringLiteral("Изменение ИФИ: пар %1, среднее %2, 95 % ДИ от %3 до %4")
                 .arg(mean.pairs)
                 .arg(OptionalDecimal(mean.mean), OptionalDecimal(mean.lower),
                      OptionalDecimal(mean.upper));
    const PairedTest& signedRank = figures.signedRank;
    lines << QStringLiteral("Критерий Уилкоксона: пар %1, p = %2%3")
                 .arg(signedRank.pairs)
                 .arg(PText(signedRank), !signedRank.pValue ? QString()
                                         : signedRank.exact
                                             ? QStringLiteral(" (точно)")
                                             : QStringLiteral(" (нормальное приближение)"));
    lines << QStringLiteral("Критерий знаков: пар %1, p = %2")
                 .arg(figures.sign.pairs)
                 .arg(PText(figures.sign));
    if (figures.sexConflicts > 0)
        lines << QStringLiteral("Одно имя с разным полом: %1").arg(figures.sexConflicts);
    return lines;
}
