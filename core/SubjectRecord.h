#pragma once

#include <QString>
#include <QtGlobal>

#include <stdexcept>

enum class Sex { Male, Female };

// One examined person's input data as the examiner entered it.
struct SubjectRecord
{
    QString FullName;
    qint32 Systolic = 0;
    qint32 Diastolic = 0;
    qint32 Pulse = 0;
    ::Sex Sex = ::Sex::Male;
    qint32 Weight = 0;
    qint32 Height = 0;
    double Age = 0.0;
};

// Raised when an entry text is not a number of the kind its field needs.
class EConvertError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Converts the six numeric texts in the order systolic, diastolic, pulse, weight, height, age;
// the first text that does not convert raises EConvertError and the rest are not looked at.
SubjectRecord ParseSubject(const QString& fullName, const QString& systolic, const QString& diastolic,
                           const QString& pulse, Sex sex, const QString& weight, const QString& height,
                           const QString& age);

// True when the record passes every acceptance rule; only accepted records may be assessed.
bool IsAcceptable(const SubjectRecord& record);
