#include "compare/Comparison.h"

#include "reports/NamesFreeExport.h"

#include <map>
#include <numeric>

const SummaryRow* Comparison::singleRow(const ComparedPerson& person, std::size_t stage) const
{
    const StagePresence& presence = person.stages[stage];
    if (presence.kind != Presence::Present)
        return nullptr;
    return &stages[stage].rows[presence.rows.front()];
}

QStringList StageNoteLines(const Comparison& comparison, std::size_t stage)
{
    const StageResult& result = comparison.stages[stage];
    // Per kind and other stage: how many paths, and the first of them.
    std::map<std::pair<StageNote::Kind, std::size_t>, std::pair<int, QString>> grouped;
    for (const StageNote& note : result.notes) {
        auto& [count, first] = grouped[{note.kind, note.other}];
        if (count++ == 0)
            first = note.path;
    }
    QStringList lines;
    for (const auto& [key, value] : grouped) {
        const auto& [kind, other] = key;
        const auto& [count, first] = value;
        if (kind == StageNote::Kind::NoRecordFiles) {
            lines << QStringLiteral("нет файлов записей");
            continue;
        }
        const QString what = kind == StageNote::Kind::GivenBefore ? QStringLiteral("уже есть в этапе «%1»")
                                                                  : QStringLiteral("лежит внутри папки этапа «%1»");
        const QString said = what.arg(other < comparison.stages.size() ? comparison.stages[other].input.label : QString());
        if (count == 1 && !first.isEmpty())
            lines << first + u' ' + said;
        else if (first.isEmpty())
            lines << QStringLiteral("%1: путей %2").arg(said, QString::number(count));
        else
            lines << QStringLiteral("%1: путей %2, первый %3").arg(said, QString::number(count), first);
    }
    return lines;
}

QString StageOrderLine(const Comparison& comparison)
{
    QStringList labels;
    for (const StageResult& stage : comparison.stages)
        labels << stage.input.label;
    return StageOrderText(comparison.order, labels);
}

Comparison WithoutNames(const Comparison& comparison, const PersonCodes& codes)
{
    Comparison shown;
    shown.order = comparison.order;
    shown.cancelled = comparison.cancelled;
    shown.stages.reserve(comparison.stages.size());
    for (std::size_t s = 0; s < comparison.stages.size(); ++s) {
        StageResult stage;
        const StageResult& from = comparison.stages[s];
        stage.input.label = from.input.labelGiven ? from.input.label : NamesFreeStageLabel(s + 1);
        stage.input.labelGiven = from.input.labelGiven;
        for (const SkippedPath& skipped : from.skipped)
            stage.skipped.append({QString(), skipped.reason, skipped.kind});
        for (StageNote note : from.notes) {
            note.path.clear();
            stage.notes.push_back(note);
        }
        stage.rows.reserve(from.rows.size());
        for (const SummaryRow& row : from.rows)
            stage.rows.append(NamesFreeRow(row, QString()));
        shown.stages.push_back(std::move(stage));
    }
    // In the codes' order, so neither the rows nor their ties follow the names.
    std::vector<std::size_t> byCode(comparison.persons.size());
    for (std::size_t person = 0; person < byCode.size(); ++person)
        byCode[codes.number(person)] = person;
    shown.persons.reserve(byCode.size());
    for (std::size_t person : byCode) {
        ComparedPerson coded = comparison.persons[person];
        coded.name = codes.code(person);
        shown.persons.push_back(std::move(coded));
    }
    return shown;
}

ComparisonHandOver MakeHandOver(const std::shared_ptr<const Comparison>& comparison, bool anonymised)
{
    ComparisonHandOver handOver;
    handOver.named = comparison;
    handOver.anonymised = anonymised;
    if (!anonymised || !comparison) {
        handOver.shown = comparison;
        return handOver;
    }
    handOver.codes = PersonCodes(comparison->persons.size());
    handOver.shown = std::make_shared<const Comparison>(WithoutNames(*comparison, handOver.codes));
    return handOver;
}

namespace {

// The key's name for a person: a file's path stands for a person without a readable name.
QString KeyName(const Comparison& named, std::size_t person)
{
    const ComparedPerson& who = named.persons[person];
    if (!who.unmatched)
        return who.name;
    for (std::size_t s = 0; s < who.stages.size(); ++s) {
        if (const SummaryRow* row = named.singleRow(who, s))
            return QStringLiteral("(файл %1)").arg(row->path);
    }
    return QString();
}

QString NoKeyReason()
{
    return QStringLiteral("ключ есть только у экспорта с кодами вместо имён");
}

} // namespace

QString ComparisonHandOver::writeKey(const QString& path) const
{
    if (!anonymised || !named)
        return NoKeyReason();
    return WriteCodeKey(path, codes, [this](std::size_t person) { return KeyName(*named, person); });
}

QString ComparisonHandOver::writeKey(QIODevice& out) const
{
    if (!anonymised || !named)
        return NoKeyReason();
    return WriteCodeKey(out, codes, [this](std::size_t person) { return KeyName(*named, person); });
}
