#include "compare/Stages.h"

#include <QDate>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

QString DefaultStageLabel(const QStringList& paths)
{
    if (paths.isEmpty())
        return {};
    QString first = QFileInfo(paths.front()).fileName();
    if (first.isEmpty()) // "folder/" or "/"
        first = QFileInfo(QFileInfo(paths.front()).absolutePath()).fileName();
    if (first.isEmpty())
        first = paths.front();
    return paths.size() == 1 ? first : first + QStringLiteral("…");
}

std::optional<int> StageDateKey(const QString& label)
{
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{2})(?:-(\\d{2}))?$"));
    static const QRegularExpression dotted(QStringLiteral("^(\\d{2})\\.(\\d{2})\\.(\\d{4})$"));
    const QString text = label.trimmed();
    int year = 0;
    int month = 0;
    int day = 1;
    if (const QRegularExpressionMatch m = iso.match(text); m.hasMatch()) {
        year = m.captured(1).toInt();
        month = m.captured(2).toInt();
        if (m.hasCaptured(3))
            day = m.captured(3).toInt();
    } else if (const QRegularExpressionMatch d = dotted.match(text); d.hasMatch()) {
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

QList<StageInput> OrderStages(QList<StageInput> stages)
{
    for (StageInput& stage : stages) {
        if (stage.label.trimmed().isEmpty())
            stage.label = DefaultStageLabel(stage.paths);
    }
    const bool allDates = std::all_of(stages.cbegin(), stages.cend(), [](const StageInput& stage) {
        return StageDateKey(stage.label).has_value();
    });
    if (allDates) {
        std::stable_sort(stages.begin(), stages.end(),
                         [](const StageInput& a, const StageInput& b) {
                             return *StageDateKey(a.label) < *StageDateKey(b.label);
                         });
    }
    return stages;
}
