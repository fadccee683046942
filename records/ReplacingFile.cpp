#include "records/ReplacingFile.h"

#include "records/InOutError.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Saving through a symbolic link replaces the file it points to, not the link.
QString resolvedTarget(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical; // a dangling link: create its target
}

constexpr int kSuffixLength = 8;
constexpr char kTemporaryEnd[] = ".tmp";

QByteArray randomSuffix()
{
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray suffix(kSuffixLength, '\0');
    for (char& c : suffix)
        c = Letters[QRandomGenerator::global()->bounded(int(sizeof Letters - 1))];
    return suffix;
}

[[noreturn]] void throwLastError() { throw InOutErrorFromErrno(errno); }

// Makes the rename itself durable; the new file is already complete, so a failure changes nothing.
void syncFolderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

ReplacingFile::ReplacingFile(const QString& path)
{
    m_target = QFile::encodeName(resolvedTarget(path));
    const qsizetype slash = m_target.lastIndexOf('/');
    const QByteArray name = m_target.mid(slash + 1);
    if (m_target.isEmpty())
        throw InOutErrorFromErrno(ENOENT); // what opening "" reports
    if (name.isEmpty() || name == "." || name == "..")
        throw InOutErrorFromErrno(EISDIR);
    // Only a regular file is ever replaced: a FIFO, a device or a socket stays what it is.
    struct stat target {};
    if (::stat(m_target.constData(), &target) == 0 && !S_ISREG(target.st_mode))
        throw InOutErrorFromErrno(S_ISDIR(target.st_mode) ? EISDIR : EACCES);
    // Replacing needs only the folder's permission; a file the user may not write stays protected
    // as it would be if it were overwritten in place.
    if (::access(m_target.constData(), F_OK) == 0 && ::access(m_target.constData(), W_OK) != 0)
        throw InOutErrorFromErrno(errno);

    // A hidden name beside the target keeps the rename on one file system; the name is cut so
    // that the additions cannot exceed the longest name a folder takes.
    const QByteArray prefix = m_target.left(slash + 1) + '.' + name.left(200) + '.';
    for (int attempt = 0; m_fd < 0; ++attempt) {
        m_temporary = prefix + randomSuffix() + kTemporaryEnd;
        m_fd = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && (errno != EEXIST || attempt == 100)) {
            const int error = errno;
            m_temporary.clear();
            throw InOutErrorFromErrno(error);
        }
    }

    // The replacement keeps the permissions of the file it replaces.
    struct stat existing {};
    if (::stat(m_target.constData(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(m_fd, existing.st_mode & 07777);
}

ReplacingFile::~ReplacingFile()
{
    discard();
}

void ReplacingFile::write(const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, data, std::size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throwLastError();
        }
        data += written;
        left -= written;
    }
}

void ReplacingFile::commit()
{
    if (::fsync(m_fd) != 0)
        throwLastError();
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0)
        throwLastError();
    if (::rename(m_temporary.constData(), m_target.constData()) != 0)
        throwLastError();
    m_temporary.clear();
    syncFolderOf(m_target);
}

void ReplacingFile::finish()
{
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0)
        throwLastError();
}

void ReplacingFile::moveIntoPlace()
{
    if (::rename(m_temporary.constData(), m_target.constData()) != 0)
        throwLastError();
    m_temporary.clear();
}

void SyncFileSystemOf(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throwLastError();
    const int result = ::syncfs(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0)
        throw InOutErrorFromErrno(error);
}

void SyncFolderOf(const QString& path)
{
    syncFolderOf(QFile::encodeName(path));
}

void ReplacingFile::discard() noexcept
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
}

bool IsReplacementTemporaryName(const QString& fileName)
{
    // "." + at least one character of the target's name + "." + suffix + ".tmp"
    const qsizetype end = fileName.size() - qsizetype(sizeof kTemporaryEnd - 1);
    const qsizetype suffixFrom = end - kSuffixLength;
    if (!fileName.startsWith(u'.') || !fileName.endsWith(QLatin1String(kTemporaryEnd)) || suffixFrom < 3
        || fileName[suffixFrom - 1] != u'.')
        return false;
    for (qsizetype i = suffixFrom; i < end; ++i) {
        const QChar c = fileName[i];
        if (c.unicode() > 127 || !c.isLetterOrNumber())
            return false;
    }
    return true;
}
