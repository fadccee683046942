#pragma once

#include "records/RecordFile.h"

#include <QDir>
#include <QString>

#include <utility>
#include <vector>

namespace testsupport {

// A stage folder of record files written by the records writer: one file per (name, systolic)
// pair, the rest of the record fixed, so the systolic pressure alone sets the level
// (120 satisfactory, 160 strain, 190 unsatisfactory, 210 breakdown).
inline void WriteStage(const QString& folder, const std::vector<std::pair<QString, int>>& persons)
{
    QDir().mkpath(folder);
    int file = 0;
    for (const auto& [name, systolic] : persons) {
        const SubjectTexts texts{name, QString::number(systolic), QStringLiteral("80"), QStringLiteral("70"),
                                 Sex::Male, QStringLiteral("70"), QStringLiteral("175"), QStringLiteral("30")};
        WriteRecordFile(QDir(folder).filePath(QStringLiteral("%1.vnl").arg(++file)), texts, [] {});
    }
}

} // namespace testsupport
