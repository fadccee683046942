#include "records/InOutError.h"

#include <cerrno>

EInOutError::EInOutError(int errorCode, const QString& message)
    : std::runtime_error(message.toStdString()), m_errorCode(errorCode)
{
}

ENotRegularFile::ENotRegularFile() : EInOutError(InOutErrorFromErrno(EACCES)) {}

EFileTooLarge::EFileTooLarge(qint64 limit) : EInOutError(InOutErrorFromErrno(EFBIG)), m_limit(limit) {}

// The user sees the four classic file messages with their classic numbers:
//   ENOENT                                  -> 2 "File not found"
//   ENOTDIR, ENAMETOOLONG, ELOOP, EINVAL    -> 3 "Invalid filename"   (the path itself is unusable)
//   EMFILE, ENFILE                          -> 4 "Too many open files"
//   EACCES, EPERM, EROFS, EISDIR, ETXTBSY   -> 5 "File access denied" (a directory is refused like a locked-down file)
// Everything else (ENOSPC, EIO, EDQUOT, EBUSY, ...) keeps its errno number: "I/O error 28".
EInOutError InOutErrorFromErrno(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT:
        return EInOutError(2, QStringLiteral("File not found"));
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return EInOutError(3, QStringLiteral("Invalid filename"));
    case EMFILE:
    case ENFILE:
        return EInOutError(4, QStringLiteral("Too many open files"));
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return EInOutError(5, QStringLiteral("File access denied"));
    default:
        return EInOutError(errnoValue, QStringLiteral("I/O error %1").arg(errnoValue));
    }
}
