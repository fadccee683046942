#include "groups/Grouping.h"

#include "core/TextToNumber.h"

#include <algorithm>
#include <cmath>

std::vector<int> DefaultAgeBands()
{
    return {13, 16, 18, 22, 36, 61};
}

std::optional<std::vector<GroupingKey>> ParseGroupingKeys(const QString& text)
{
    std::vector<GroupingKey> keys;
    for (const QString& part : text.split(u',')) {
        const QString word = part.trimmed();
        GroupingKey key;
        if (word == u"folder")
            key = GroupingKey::Source;
        else if (word == u"sex")
            key = GroupingKey::Sex;
        else if (word == u"age")
            key = GroupingKey::AgeBand;
        else
            return std::nullopt;
        if (std::find(keys.begin(), keys.end(), key) != keys.end())
            return std::nullopt;
        keys.push_back(key);
    }
    return keys;
}

std::optional<std::vector<int>> ParseAgeBands(const QString& text)
{
    std::vector<int> bounds;
    for (const QString& part : text.split(u',')) {
        bool ok = false;
        const int bound = part.trimmed().toInt(&ok);
        if (!ok || bound < 1 || bound > 130 || (!bounds.empty() && bound <= bounds.back()))
            return std::nullopt;
        bounds.push_back(bound);
    }
    return bounds;
}

int AgeBandIndex(const std::vector<int>& bounds, double age)
{
    const double years = std::floor(age);
    int index = -1;
    for (std::size_t i = 0; i < bounds.size() && bounds[i] <= years; ++i)
        index = int(i);
    return index;
}

QString AgeBandText(const std::vector<int>& bounds, int index)
{
    if (bounds.empty())
        return QStringLiteral("все возрасты");
    if (index < 0)
        return QStringLiteral("до %1").arg(bounds.front());
    const std::size_t i = std::size_t(index);
    if (i + 1 >= bounds.size())
        return QStringLiteral("%1 и старше").arg(bounds[i]);
    if (bounds[i + 1] - 1 == bounds[i])
        return QString::number(bounds[i]);
    return QStringLiteral("%1–%2").arg(bounds[i]).arg(bounds[i + 1] - 1);
}

std::optional<double> RowAge(const SummaryRow& row)
{
    return TextToDouble(row.texts.Age);
}

std::optional<GroupKey> GroupKeyOf(const Grouping& grouping, int source, const SummaryRow& row)
{
    GroupKey key;
    const bool loaded = row.outcome == RowOutcome::Assessed || row.outcome == RowOutcome::NotAcceptable;
    for (GroupingKey k : grouping.keys) {
        switch (k) {
        case GroupingKey::Source:
            key.push_back(source);
            break;
        case GroupingKey::Sex:
            if (!loaded)
                return std::nullopt;
            key.push_back(row.texts.Sex == Sex::Male ? 0 : 1);
            break;
        case GroupingKey::AgeBand: {
            const std::optional<double> age = loaded ? RowAge(row) : std::nullopt;
            if (!age || !std::isfinite(*age))
                return std::nullopt;
            key.push_back(AgeBandIndex(grouping.ageBands, *age));
            break;
        }
        }
    }
    return key;
}

QString GroupLabel(const Grouping& grouping, const std::vector<GroupSource>& sources, const GroupKey& key)
{
    QStringList parts;
    for (std::size_t i = 0; i < grouping.keys.size() && i < key.size(); ++i) {
        switch (grouping.keys[i]) {
        case GroupingKey::Source:
            parts << (std::size_t(key[i]) < sources.size() ? sources[std::size_t(key[i])].label : QString());
            break;
        case GroupingKey::Sex:
            parts << SexText(key[i] == 0 ? Sex::Male : Sex::Female);
            break;
        case GroupingKey::AgeBand:
            parts << AgeBandText(grouping.ageBands, key[i]);
            break;
        }
    }
    return parts.isEmpty() ? QStringLiteral("Все") : parts.join(QStringLiteral(", "));
}
