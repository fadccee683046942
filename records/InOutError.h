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

// Refusals once the file is open, shown with the classic messages; callers that say more tell
// them apart. A FIFO, a device or a socket is no record file ("File access denied").
class ENotRegularFile : public EInOutError
{
public:
    ENotRegularFile();
};

// More bytes than the reader was allowed to read, however the file grew after it was opened.
class EFileTooLarge : public EInOutError
{
public:
    explicit EFileTooLarge(qint64 limit);
    qint64 limit() const { return m_limit; }

private:
    qint64 m_limit;
};

// The failure for an errno value of a failed system call (see the mapping in the source).
EInOutError InOutErrorFromErrno(int errnoValue);
