#include "summary/SummaryCounts.h"

#include "core/RegionalSettings.h"

#include <QStringList>

QString PercentText(int part, int whole)
{
    if (whole <= 0)
        return QStringLiteral("—");
    return QString::number(100.0 * part / whole, 'f', 1).replace(u'.', regionalSettings().decimalSeparator());
}

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

QStringList CountsLines(const SummaryCounts& counts)
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
    return lines;
}

QString SkippedCountText(const QList<SkippedPath>& skipped)
{
    constexpr std::size_t kinds = std::size_t(SkipKind::Count);
    static const std::array<QString, kinds> names{QStringLiteral("папок"), QStringLiteral("ссылок"),
                                                  QStringLiteral("каналов и устройств"),
                                                  QStringLiteral("недоступных путей")};
    std::array<int, kinds> perKind{};
    for (const SkippedPath& path : skipped)
        ++perKind[std::size_t(path.kind)];
    QStringList parts;
    for (std::size_t kind = 0; kind < kinds; ++kind) {
        if (perKind[kind] > 0)
            parts << QStringLiteral("%1: %2").arg(names[kind]).arg(perKind[kind]);
    }
    QString text = QString::number(skipped.size());
    if (!parts.isEmpty())
        text += QStringLiteral(" (%1)").arg(parts.join(QStringLiteral(", ")));
    return text;
}
