#include "groups/GroupsText.h"

#include "core/EditRules.h"
#include "core/RegionalSettings.h"

#include <algorithm>
#include <functional>

namespace {

QString Decimal(double value, int decimals)
{
    return FixedDecimalText(value, decimals, regionalSettings().decimalSeparator());
}

QString Dash()
{
    return QStringLiteral("—");
}

QString KindText(TestKind kind)
{
    switch (kind) {
    case TestKind::ChiSquare: return QStringLiteral("χ²");
    case TestKind::FisherExact: return QStringLiteral("точный тест Фишера");
    case TestKind::FisherFreemanHalton: return QStringLiteral("тест Фишера — Фримена — Холтона");
    case TestKind::MannWhitney: return QStringLiteral("U Манна — Уитни");
    case TestKind::KruskalWallis: return QStringLiteral("H Краскела — Уоллиса");
    case TestKind::Spearman: return QStringLiteral("ρ Спирмена");
    }
    return {};
}

QString SubjectText(TestSubject subject)
{
    switch (subject) {
    case TestSubject::Levels: return QStringLiteral("Уровни адаптации");
    case TestSubject::Balance: return QStringLiteral("Вегетативный баланс");
    case TestSubject::Ifi: return QStringLiteral("ИФИ");
    case TestSubject::Kerdo: return QStringLiteral("Индекс Кердо");
    case TestSubject::IfiAge: return QStringLiteral("ИФИ и возраст");
    case TestSubject::IfiBmi: return QStringLiteral("ИФИ и ИМТ");
    }
    return {};
}

QString MethodText(TestMethod method)
{
    switch (method) {
    case TestMethod::Exact: return QStringLiteral("точный");
    case TestMethod::Asymptotic: return QStringLiteral("асимптотический");
    case TestMethod::MonteCarlo: return QStringLiteral("Монте-Карло");
    }
    return {};
}

// The p of the test that decides a figure row: an exact test's where there is one, else the
// first test of that subject over all the groups.
std::optional<double> DecidingP(const GroupsResult& result, TestSubject subject)
{
    std::optional<double> p;
    for (const GroupTest& test : result.tests) {
        if (test.subject != subject || test.holmAdjusted)
            continue;
        if (test.kind == TestKind::FisherExact || test.kind == TestKind::FisherFreemanHalton)
            return test.result.p;
        if (!p)
            p = test.result.p;
    }
    return p;
}

QString RowP(const GroupsResult& result, TestSubject subject)
{
    const bool tested = std::any_of(result.tests.begin(), result.tests.end(),
                                    [&](const GroupTest& t) { return t.subject == subject; });
    return tested ? PValueText(DecidingP(result, subject)) : QString();
}

} // namespace

QString MedianQuartilesText(const Description& d, int decimals)
{
    if (!d.median)
        return Dash();
    return QStringLiteral("%1 [%2; %3]").arg(Decimal(*d.median, decimals), Decimal(*d.q1, decimals),
                                             Decimal(*d.q3, decimals));
}

QString MeanSdText(const Description& d, int decimals)
{
    if (!d.mean)
        return Dash();
    if (!d.sd)
        return Decimal(*d.mean, decimals);
    return QStringLiteral("%1 ± %2").arg(Decimal(*d.mean, decimals), Decimal(*d.sd, decimals));
}

QString CountShareText(int count, int whole)
{
    if (whole <= 0)
        return QString::number(count);
    return QStringLiteral("%1 (%2 %)").arg(count).arg(Decimal(100.0 * count / whole, 1));
}

QString PValueText(const std::optional<double>& p)
{
    if (!p)
        return Dash();
    if (*p < 0.001)
        return QStringLiteral("< %1").arg(Decimal(0.001, 3));
    return Decimal(*p, 3);
}

QString TestLine(const GroupTest& test)
{
    QStringList parts;
    const TestResult& r = test.result;
    const QString symbol = test.kind == TestKind::ChiSquare       ? QStringLiteral("χ²")
                           : test.kind == TestKind::MannWhitney   ? QStringLiteral("U")
                           : test.kind == TestKind::KruskalWallis ? QStringLiteral("H")
                           : test.kind == TestKind::Spearman      ? QStringLiteral("ρ")
                                                                  : QString();
    if (r.statistic && !symbol.isEmpty())
        parts << QStringLiteral("%1 = %2").arg(symbol, Decimal(*r.statistic, test.kind == TestKind::Spearman ? 3 : 2));
    if (r.df)
        parts << QStringLiteral("df = %1").arg(Decimal(*r.df, 0));
    // "p = 0,012", "p < 0,001": the relation is part of the p text when it is a bound.
    const QString pText = PValueText(r.p);
    const QString relation = pText.startsWith(u'<') ? pText : QStringLiteral("= ") + pText;
    parts << (test.holmAdjusted ? QStringLiteral("p (Холм) %1") : QStringLiteral("p %1")).arg(relation);
    if (r.effect && test.kind == TestKind::ChiSquare)
        parts << QStringLiteral("V = %1").arg(Decimal(*r.effect, 2));
    if (r.effect && test.kind == TestKind::MannWhitney)
        parts << QStringLiteral("r = %1").arg(Decimal(*r.effect, 2));
    const QString groups = test.groups.size() == 2 ? QStringLiteral(" (%1 и %2)").arg(test.groups[0], test.groups[1])
                                                   : QString();
    return QStringLiteral("%1, %2%3: %4 (%5)")
        .arg(SubjectText(test.subject), KindText(test.kind), groups, parts.join(QStringLiteral("; ")),
             MethodText(r.method));
}

std::vector<FigureRow> FigureRows(const GroupsResult& result)
{
    std::vector<FigureRow> rows;
    const auto add = [&](const QString& caption, const std::function<QString(const GroupStats&)>& cell,
                         const QString& p = {}) {
        FigureRow row{caption, {}, p};
        for (const GroupStats& g : result.groups)
            row.cells << cell(g);
        rows.push_back(std::move(row));
    };
    add(QStringLiteral("Файлов"), [](const GroupStats& g) { return QString::number(g.counts.files); });
    add(QStringLiteral("Рассчитано"), [](const GroupStats& g) { return QString::number(g.counts.assessed); });
    add(QStringLiteral("Уровень адаптации, n (%)"), [](const GroupStats&) { return QString(); },
        RowP(result, TestSubject::Levels));
    for (std::size_t i = 0; i < kAllLevels.size(); ++i)
        add(LevelText(kAllLevels[i]),
            [i](const GroupStats& g) { return CountShareText(g.counts.perLevel[i], g.counts.assessed); });
    add(QStringLiteral("Вегетативный баланс, n (%)"), [](const GroupStats&) { return QString(); },
        RowP(result, TestSubject::Balance));
    for (std::size_t i = 0; i < kAllBalances.size(); ++i)
        add(BalanceText(kAllBalances[i]),
            [i](const GroupStats& g) { return CountShareText(g.counts.perBalance[i], g.counts.assessed); });
    add(QStringLiteral("ИФИ, Me [Q1; Q3]"), [](const GroupStats& g) { return MedianQuartilesText(g.ifi, 2); },
        RowP(result, TestSubject::Ifi));
    add(QStringLiteral("ИФИ, M ± SD"), [](const GroupStats& g) { return MeanSdText(g.ifi, 2); });
    add(QStringLiteral("Индекс Кердо, Me [Q1; Q3]"), [](const GroupStats& g) { return MedianQuartilesText(g.kerdo, 1); },
        RowP(result, TestSubject::Kerdo));
    add(QStringLiteral("Индекс Кердо, M ± SD"), [](const GroupStats& g) { return MeanSdText(g.kerdo, 1); });
    add(QStringLiteral("ИМТ, Me [Q1; Q3]"), [](const GroupStats& g) { return MedianQuartilesText(g.bmi, 1); });
    add(QStringLiteral("ИМТ, M ± SD"), [](const GroupStats& g) { return MeanSdText(g.bmi, 1); });
    return rows;
}

QStringList GroupsLines(const GroupsResult& result)
{
    QStringList lines;
    QStringList header{QStringLiteral("Показатель")};
    for (const GroupStats& g : result.groups)
        header << g.label;
    header << QStringLiteral("p");
    lines << header.join(u'\t');
    for (const FigureRow& row : FigureRows(result))
        lines << (QStringList{row.caption} + row.cells + QStringList{row.p}).join(u'\t');
    for (const GroupStats& g : result.groups) {
        for (const ReasonCount& r : g.notAssessed)
            lines << QStringLiteral("%1: не рассчитано %2 — %3").arg(g.label).arg(r.count).arg(r.reason);
    }
    if (result.unplacedRows > 0) {
        lines << QStringLiteral("Вне групп (пол или возраст не прочитаны): %1").arg(result.unplacedRows);
        for (const ReasonCount& r : result.unplaced)
            lines << QStringLiteral("  %1 — %2").arg(r.count).arg(r.reason);
    }
    lines << QString() << QStringLiteral("Тесты:");
    for (const GroupTest& test : result.tests)
        lines << QStringLiteral("  ") + TestLine(test);
    lines << QString() << QStringLiteral("Группа риска (неудовлетворительная адаптация и срыв): %1").arg(result.risk.size());
    return lines;
}
