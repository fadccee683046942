#include "compare/Stages.h"

#include <QDate>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QRegularExpression>

#include <algorithm>
#include <numeric>

namespace {

QString NameOf(const QString& path)
{
    QString name = QFileInfo(path).fileName();
    if (name.isEmpty()) // "folder/" or "/"
        name = QFileInfo(QFileInfo(path).absolutePath()).fileName();
    return name.isEmpty() ? path : name;
}

// "2025/7А" for ".../2025/7А": what tells apart two folders of one name.
QString WithParent(const QStringList& paths)
{
    const QFileInfo info(QFileInfo(paths.front()).absoluteFilePath());
    const QString parent = QFileInfo(info.absolutePath()).fileName();
    const QString label = DefaultStageLabel(paths);
    return parent.isEmpty() ? label : parent + u'/' + label;
}

void LabelStages(QList<StageInput>& stages)
{
    // The sources behind each default label: one folder given twice is a repeat, not a namesake.
    QHash<QString, QSet<QString>> sources;
    for (StageInput& stage : stages) {
        stage.label = stage.label.trimmed();
        stage.labelGiven = stage.labelGiven && !stage.label.isEmpty();
        if (!stage.labelGiven) {
            stage.label = DefaultStageLabel(stage.paths);
            sources[stage.label].insert(stage.paths.join(u'\n'));
        }
    }
    for (StageInput& stage : stages) {
        if (!stage.labelGiven && !stage.paths.isEmpty() && sources.value(stage.label).size() > 1)
            stage.label = WithParent(stage.paths);
    }
    QSet<QString> used;
    for (StageInput& stage : stages) {
        const QString label = stage.label;
        for (int repeat = 2; used.contains(stage.label); ++repeat)
            stage.label = label + QStringLiteral(" (%1)").arg(repeat);
        used.insert(stage.label);
    }
}

} // namespace

QString DefaultStageLabel(const QStringList& paths)
{
    if (paths.isEmpty())
        return {};
    const QString first = NameOf(paths.front());
    return paths.size() == 1 ? first : first + QStringLiteral("…");
}

std::optional<int> StageDateKey(const QString& label)
{
    static const QRegularExpression iso(QStringLiteral("^\\s*(\\d{4})-(\\d{2})(?:-(\\d{2}))?(?!\\d)"));
    static const QRegularExpression dotted(QStringLiteral("^\\s*(\\d{2})\\.(\\d{2})\\.(\\d{4})(?!\\d)"));
    int year = 0;
    int month = 0;
    int day = 1;
    if (const QRegularExpressionMatch m = iso.match(label); m.hasMatch()) {
        year = m.captured(1).toInt();
        month = m.captured(2).toInt();
        if (m.hasCaptured(3))
            day = m.captured(3).toInt();
    } else if (const QRegularExpressionMatch d = dotted.match(label); d.hasMatch()) {
        day = d.captured(1).toInt();
        month = d.captured(2).toInt();
        year = d.captured(3).toInt();
    } else {
        return std::nullopt;
    }
    if (!QDate::isValid(year, month, day))
        return std::nullopt;
    return year * 10000 + month * 100 + day;
}

std::optional<int> StageDate(const StageInput& stage)
{
    if (const std::optional<int> date = StageDateKey(stage.label))
        return date;
    if (stage.paths.size() == 1)
        return StageDateKey(NameOf(stage.paths.front()));
    return std::nullopt;
}

ArrangedStages ArrangeStages(QList<StageInput> stages)
{
    LabelStages(stages);
    std::vector<std::optional<int>> dates;
    for (const StageInput& stage : stages)
        dates.push_back(StageDate(stage));
    std::vector<int> dated; // the dates in the given order
    for (const std::optional<int>& date : dates) {
        if (date)
            dated.push_back(*date);
    }
    ArrangedStages arranged;
    arranged.order.byDate = !stages.isEmpty() && dated.size() == dates.size();
    arranged.order.datesDisagree = !std::is_sorted(dated.begin(), dated.end());
    arranged.given.resize(std::size_t(stages.size()));
    std::iota(arranged.given.begin(), arranged.given.end(), qsizetype(0));
    if (arranged.order.byDate) {
        std::stable_sort(arranged.given.begin(), arranged.given.end(), [&dates](qsizetype a, qsizetype b) {
            return *dates[std::size_t(a)] < *dates[std::size_t(b)];
        });
    }
    for (qsizetype i : arranged.given)
        arranged.stages.append(stages[i]);
    return arranged;
}

QList<StageInput> OrderStages(QList<StageInput> stages)
{
    return ArrangeStages(std::move(stages)).stages;
}

QString StageOrderText(const StageOrder& order, const QStringList& labels)
{
    const QString sequence = labels.join(QStringLiteral(" → "));
    if (order.byDate && order.datesDisagree)
        return QStringLiteral("Порядок этапов — по датам в метках, не в заданном: %1").arg(sequence);
    if (order.byDate)
        return QStringLiteral("Порядок этапов — по датам в метках: %1").arg(sequence);
    if (order.datesDisagree)
        return QStringLiteral("Порядок этапов — заданный, хотя даты в метках идут иначе: %1").arg(sequence);
    return QStringLiteral("Порядок этапов — заданный: %1").arg(sequence);
}
