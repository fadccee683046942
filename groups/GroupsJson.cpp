#include "groups/GroupsJson.h"

#include <charconv>
#include <cmath>

namespace {

QByteArray DescriptionObject(const Description& d)
{
    return "{\"median\":" + JsonOptionalNumber(d.median) + ",\"q1\":" + JsonOptionalNumber(d.q1) +
           ",\"q3\":" + JsonOptionalNumber(d.q3) + ",\"mean\":" + JsonOptionalNumber(d.mean) +
           ",\"sd\":" + JsonOptionalNumber(d.sd) + '}';
}

} // namespace


QByteArray JsonString(const QString& text)
{
    QByteArray out = "\"";
    for (char c : text.toUtf8()) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            out += QByteArray("\\u00") + QByteArray::number(u, 16).rightJustified(2, '0');
        } else {
            out += c;
        }
    }
    return out + '"';
}

QByteArray JsonOptionalNumber(const std::optional<double>& value)
{
    return value ? JsonNumber(*value) : QByteArray("null");
}

QByteArray JsonCounts(std::span<const int> counts)
{
    QByteArray out = "[";
    for (std::size_t i = 0; i < counts.size(); ++i)
        out += (i ? "," : "") + QByteArray::number(counts[i]);
    return out + ']';
}

QByteArray JsonStrings(const QStringList& labels)
{
    QByteArray out = "[";
    for (qsizetype i = 0; i < labels.size(); ++i)
        out += (i ? "," : "") + JsonString(labels[i]);
    return out + ']';
}


QByteArray JsonNumber(double value)
{
    if (!std::isfinite(value))
        return "null";
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return QByteArray(buffer, int(end - buffer));
}

QByteArray GroupsJson(const GroupsResult& result, const RiskCoder& coder)
{
    QByteArray out = "{\n\"groups\": [";
    for (std::size_t i = 0; i < result.groups.size(); ++i) {
        const GroupStats& g = result.groups[i];
        out += i ? ",\n " : "\n ";
        out += "{\"label\":" + JsonString(g.label) + ",\"files\":" + QByteArray::number(g.counts.files) +
               ",\"assessed\":" + QByteArray::number(g.counts.assessed) + ",\"levels\":" + JsonCounts(g.counts.perLevel) +
               ",\"balance\":" + JsonCounts(g.counts.perBalance) + ",\"ifi\":" + DescriptionObject(g.ifi) +
               ",\"kerdo\":" + DescriptionObject(g.kerdo) + ",\"bmi\":" + DescriptionObject(g.bmi) + '}';
    }
    out += "\n],\n\"tests\": [";
    for (std::size_t i = 0; i < result.tests.size(); ++i) {
        const GroupTest& t = result.tests[i];
        out += i ? ",\n " : "\n ";
        out += "{\"test\":" + JsonString(TestKindName(t.kind)) + ",\"of\":" + JsonString(TestSubjectName(t.subject)) +
               ",\"groups\":" + JsonStrings(t.groups) + ",\"statistic\":" + JsonOptionalNumber(t.result.statistic) +
               ",\"df\":" + JsonOptionalNumber(t.result.df) + ",\"p\":" + JsonOptionalNumber(t.result.p) + ",\"method\":" +
               JsonString(QString::fromLatin1(TestMethodName(t.result.method)));
        if (t.result.effect)
            out += ",\"effect\":" + JsonNumber(*t.result.effect);
        if (t.holmAdjusted)
            out += ",\"p_adjust\":\"holm\"";
        out += '}';
    }
    out += "\n],\n\"risk\": [";
    for (std::size_t i = 0; i < result.risk.size(); ++i) {
        const RiskEntry& r = result.risk[i];
        out += i ? ",\n " : "\n ";
        out += '{' + QByteArray(coder ? "\"code\":" : "\"name\":") + JsonString(RiskPerson(r, coder)) +
               ",\"group\":" + JsonString(r.group) + ",\"level\":" + QByteArray::number(int(r.level)) +
               ",\"ifi\":" + JsonNumber(r.ifi) + '}';
    }
    out += "\n]\n}\n";
    return out;
}
