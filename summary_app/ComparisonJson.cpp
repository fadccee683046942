#include "summary_app/ComparisonJson.h"

#include "compare/ComparisonTable.h"
#include "groups/GroupsJson.h"
#include "groups/RiskList.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>

#include <span>

namespace {

QByteArray Text(const QString& text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

QByteArray Number(const std::optional<double>& value)
{
    return value ? JsonNumber(*value) : QByteArray("null");
}

QByteArray Counts(std::span<const int> counts)
{
    QByteArray out = "[";
    for (std::size_t i = 0; i < counts.size(); ++i)
        out += (i ? "," : "") + QByteArray::number(counts[i]);
    return out + ']';
}

QByteArray Test(const char* name, const char* of, const QByteArray& groups, const PairedTest& test)
{
    return QByteArray("{\"test\":\"") + name + "\",\"of\":\"" + of + "\",\"groups\":" + groups +
           ",\"statistic\":null,\"df\":null,\"p\":" + Number(test.pValue) + ",\"method\":\"" +
           (test.exact ? "exact" : "asymptotic") + "\",\"pairs\":" + QByteArray::number(test.pairs) + '}';
}

// The code the comparison's CSV gives the person of a last-stage row.
RiskCoder PersonCoder(const Comparison& comparison)
{
    QHash<QString, std::size_t> person;
    const std::size_t last = comparison.stages.size() - 1;
    for (std::size_t p = 0; p < comparison.persons.size(); ++p) {
        if (const SummaryRow* row = comparison.singleRow(comparison.persons[p], last))
            person.insert(row->path, p);
    }
    return [person, count = comparison.persons.size()](const SummaryRow& row) {
        return PersonCode(person.value(row.path), count);
    };
}

} // namespace

QByteArray ComparisonJson(const Comparison& comparison, const GroupFigures& figures, bool anonymised)
{
    QByteArray out = "{\n\"stages\": [";
    for (std::size_t s = 0; s < comparison.stages.size(); ++s) {
        const SummaryCounts& c = figures.stages[s].counts;
        out += s ? ",\n " : "\n ";
        out += "{\"label\":" + Text(comparison.stages[s].input.label) + ",\"files\":" + QByteArray::number(c.files) +
               ",\"assessed\":" + QByteArray::number(c.assessed) +
               ",\"ambiguous\":" + QByteArray::number(figures.stages[s].ambiguousFiles) +
               ",\"levels\":" + Counts(c.perLevel) + ",\"balance\":" + Counts(c.perBalance) + '}';
    }
    out += "\n],\n\"transitions\": [";
    for (std::size_t l = 0; l < figures.transitions.size(); ++l)
        out += (l ? "," : "") + Counts(figures.transitions[l]);
    const MeanInterval& change = figures.meanChange;
    out += "],\n\"change\": {\"pairs\":" + QByteArray::number(change.pairs) + ",\"mean\":" + Number(change.mean) +
           ",\"lower\":" + Number(change.lower) + ",\"upper\":" + Number(change.upper) +
           ",\"better\":" + QByteArray::number(figures.better) + ",\"same\":" + QByteArray::number(figures.same) +
           ",\"worse\":" + QByteArray::number(figures.worse) + "},\n\"tests\": [";
    if (comparison.stages.size() >= 2) {
        const QByteArray ends = '[' + Text(comparison.stages.front().input.label) + ',' +
                                Text(comparison.stages.back().input.label) + ']';
        out += "\n " + Test("wilcoxon-signed-rank", "ifi", ends, figures.signedRank) + ",\n " +
               Test("sign", "levels", ends, figures.sign);
    }
    out += "\n],\n\"risk\": [";
    const std::vector<RiskEntry> risk = WorsenedRisk(comparison);
    const RiskCoder coder = anonymised && !risk.empty() ? PersonCoder(comparison) : RiskCoder();
    for (std::size_t i = 0; i < risk.size(); ++i) {
        const RiskEntry& r = risk[i];
        out += i ? ",\n " : "\n ";
        out += '{' + QByteArray(coder ? "\"code\":" : "\"name\":") + Text(RiskPerson(r, coder)) +
               ",\"group\":" + Text(r.group) + ",\"from\":" + QByteArray::number(int(r.previousLevel.value_or(r.level))) +
               ",\"level\":" + QByteArray::number(int(r.level)) + ",\"ifi\":" + JsonNumber(r.ifi) + '}';
    }
    out += "\n]\n}\n";
    return out;
}
