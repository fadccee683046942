#pragma once

#include <QString>

#include <stdexcept>

// A failed file operation: an error number and the message the user is shown.
class EInOutError : public std::runtime_error
{
public:
    EInOutError(int errorCode, const QString& message);

    int errorCode() const { return m_errorCode; }
    QString message() const { return QString::fromUtf8(what()); }

private:
    int m_errorCode;
};

// The failure for an errno value of a failed system call (see the mapping in the source).
EInOutError InOutErrorFromErrno(int errnoValue);
