#include "summary_app/ComparisonJson.h"

#include "compare/ComparisonTable.h"
#include "groups/GroupsJson.h"
#include "groups/RiskList.h"

#include <QHash>

#include <span>

namespace {

QByteArray Test(const char* name, const char* of, const QByteArray& groups, const PairedTest& test)
{
    return QByteArray("{\"test\":\"") + name + "\",\"of\":\"" + of + "\",\"groups\":" + groups +
           ",\"statistic\":null,\"df\":null,\"p\":" + JsonOptionalNumber(test.pValue) + ",\"method\":\"" +
           (test.exact ? "exact" : "asymptotic") + "\",\"pairs\":" + QByteArray::number(test.pairs) + '}';
}

// The code the export's hand-over gives the person of a last-stage row of the named comparison.
RiskCoder PersonCoder(const ComparisonHandOver& handOver)
{
    const Comparison& named = *handOver.named;
    QHash<QString, std::size_t> person;
    const std::size_t last = named.stages.size() - 1;
    for (std::size_t p = 0; p < named.persons.size(); ++p) {
        if (const SummaryRow* row = named.singleRow(named.persons[p], last))
            person.insert(row->path, p);
    }
    return [person, codes = handOver.codes](const SummaryRow& row) { return codes.code(person.value(row.path)); };
}

} // namespace

QByteArray ComparisonJson(const ComparisonHandOver& handOver, const GroupFigures& figures)
{
    const Comparison& comparison = *handOver.shown;
    QByteArray out = "{\n\"stages\": [";
    for (std::size_t s = 0; s < comparison.stages.size(); ++s) {
        const SummaryCounts& c = figures.stages[s].counts;
        out += s ? ",\n " : "\n ";
        out += "{\"label\":" + JsonString(comparison.stages[s].input.label) + ",\"files\":" + QByteArray::number(c.files) +
               ",\"assessed\":" + QByteArray::number(c.assessed) +
               ",\"ambiguous\":" + QByteArray::number(figures.stages[s].ambiguousFiles) +
               ",\"levels\":" + JsonCounts(c.perLevel) + ",\"balance\":" + JsonCounts(c.perBalance) + '}';
    }
    out += "\n],\n\"transitions\": [";
    for (std::size_t l = 0; l < figures.transitions.size(); ++l)
        out += (l ? "," : "") + JsonCounts(figures.transitions[l]);
    const MeanInterval& change = figures.meanChange;
    out += "],\n\"change\": {\"pairs\":" + QByteArray::number(change.pairs) + ",\"mean\":" + JsonOptionalNumber(change.mean) +
           ",\"lower\":" + JsonOptionalNumber(change.lower) + ",\"upper\":" + JsonOptionalNumber(change.upper) +
           ",\"better\":" + QByteArray::number(figures.better) + ",\"same\":" + QByteArray::number(figures.same) +
           ",\"worse\":" + QByteArray::number(figures.worse) + "},\n\"tests\": [";
    if (comparison.stages.size() >= 2) {
        const QByteArray ends = '[' + JsonString(comparison.stages.front().input.label) + ',' +
                                JsonString(comparison.stages.back().input.label) + ']';
        out += "\n " + Test("wilcoxon-signed-rank", "ifi", ends, figures.signedRank) + ",\n " +
               Test("sign", "levels", ends, figures.sign);
    }
    out += "\n],\n\"risk\": [";
    // The risk is found among the named rows; without names each person is told by the export's code.
    const std::vector<RiskEntry> risk = WorsenedRisk(*handOver.named);
    const RiskCoder coder = handOver.anonymised && !risk.empty() ? PersonCoder(handOver) : RiskCoder();
    for (std::size_t i = 0; i < risk.size(); ++i) {
        const RiskEntry& r = risk[i];
        out += i ? ",\n " : "\n ";
        out += '{' + QByteArray(coder ? "\"code\":" : "\"name\":") + JsonString(RiskPerson(r, coder)) +
               ",\"group\":" + JsonString(r.group) + ",\"from\":" + QByteArray::number(int(r.previousLevel.value_or(r.level))) +
               ",\"level\":" + QByteArray::number(int(r.level)) + ",\"ifi\":" + JsonNumber(r.ifi) + '}';
    }
    out += "\n]\n}\n";
    return out;
}
