#include "entry/RecordFileName.h"

QString RecordFileNameFor(const QString& fullName) { return fullName + QLatin1String(kRecordFileSuffix); }
