#pragma once

#include <QString>

// The record files of a stage folder end in this.
inline constexpr char kRecordFileSuffix[] = ".vnl";

// The file name (no folder) a person's record gets: the name with each run of blanks as one space
// and what a file system refuses or what could leave the folder made safe ("/" "\" control
// characters, leading dots, trailing dots, reserved Windows characters), cut to fit the name limit
// in bytes, then ".vnl".
// An empty result becomes "без имени.vnl".
QString RecordFileNameFor(const QString& fullName);
