#include "summary/SummaryCounts.h"

#include <QStringList>

void SummaryCounts::add(const SummaryRow& row)
{
    ++files;
    switch (row.outcome) {
    case RowOutcome::Assessed:
        ++assessed;
        ++level(row.result.Level);
        ++balance(row.result.Balance);
        break;
    case RowOutcome::NotAcceptable:
        ++notAcceptable;
        break;
    case RowOutcome::FormatError:
        ++formatErrors;
        break;
    case RowOutcome::ReadError:
        ++readErrors;
        break;
    }
}

SummaryCounts CountRows(const SummaryRows& rows)
{
    SummaryCounts counts;
    for (const SummaryRow& row : rows)
        counts.add(row);
    return counts;
}

QStringList CountsLines(const SummaryCounts& counts, int skippedPaths)
{
    QStringList lines;
    lines << QStringLiteral("Файлов: %1").arg(counts.files);
    lines << QStringLiteral("Рассчитано: %1").arg(counts.assessed);
    for (AdaptationLevel level : kAllLevels)
        lines << QStringLiteral("  %1: %2").arg(LevelText(level)).arg(counts.level(level));
    for (VegetativeBalance balance : kAllBalances)
        lines << QStringLiteral("  %1: %2").arg(BalanceText(balance)).arg(counts.balance(balance));
    lines << QStringLiteral("Ошибка ввода: %1").arg(counts.notAcceptable);
    lines << QStringLiteral("Неверный формат файла: %1").arg(counts.formatErrors);
    lines << QStringLiteral("Ошибка чтения: %1").arg(counts.readErrors);
    lines << QStringLiteral("Пропущено папок и ссылок: %1").arg(skippedPaths);
    return lines;
}
