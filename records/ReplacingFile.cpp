#include "records/ReplacingFile.h"

#include "records/InOutError.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
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

std::atomic<void (*)(ReplacingStep)> g_stepHook = nullptr;
std::atomic<bool> g_unnamedAllowed = true;

void reached(ReplacingStep step)
{
    if (const auto hook = g_stepHook.load())
        hook(step);
}

// Persons' data is never readable by others.
constexpr mode_t kNewFileMode = 0600;

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// The file system has no unnamed files, or not in this kind of folder.
bool unnamedFilesRefused(int error)
{
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

// Makes the rename itself durable; the new file is already complete, so a failure changes nothing.
void syncFolderOf(const QByteArray& path)
{
    const int fd = ::open(folderOf(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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

    // Unnamed, nothing in the folder shows the file until it is complete and linked.
    if (g_unnamedAllowed) {
        m_fd = ::open(folderOf(m_target).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kNewFileMode);
        m_unnamed = m_fd >= 0;
        if (m_fd < 0 && !unnamedFilesRefused(errno))
            throwLastError();
    }
    for (int attempt = 0; m_fd < 0; ++attempt) {
        m_temporary = temporaryName();
        m_fd = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
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
        reached(ReplacingStep::Written);
    }
}

void ReplacingFile::commit()
{
    if (::fsync(m_fd) != 0)
        throwLastError();
    if (!m_unnamed && ::close(std::exchange(m_fd, -1)) != 0)
        throwLastError();
    reached(ReplacingStep::Finished);
    moveIntoPlace();
    syncFolderOf(m_target);
}

void ReplacingFile::finish()
{
    if (!m_unnamed && ::close(std::exchange(m_fd, -1)) != 0)
        throwLastError();
    reached(ReplacingStep::Finished);
}

void ReplacingFile::moveIntoPlace()
{
    if (m_unnamed) {
        linkUnnamed();
        if (m_temporary.isEmpty()) {
            reached(ReplacingStep::Renamed);
            return; // a new file: linked under its own name
        }
        reached(ReplacingStep::Named);
    }
    if (::rename(m_temporary.constData(), m_target.constData()) != 0)
        throwLastError();
    m_temporary.clear();
    reached(ReplacingStep::Renamed);
}

void ReplacingFile::linkUnnamed()
{
    // Through /proc, which any user may do; AT_EMPTY_PATH needs a privilege, so it only stands in
    // where /proc is missing.
    char procPath[40];
    std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", m_fd);
    const auto linkTo = [&](const QByteArray& name) {
        if (::linkat(AT_FDCWD, procPath, AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno == ENOENT && ::access("/proc/self/fd", F_OK) != 0)
            return ::linkat(m_fd, "", AT_FDCWD, name.constData(), AT_EMPTY_PATH) == 0;
        return false;
    };
    // A link never replaces a name, so a file that exists is replaced by a rename from a
    // temporary name; a new one appears complete under its own.
    if (!linkTo(m_target)) {
        if (errno != EEXIST)
            throwLastError();
        for (int attempt = 0;; ++attempt) {
            m_temporary = temporaryName();
            if (linkTo(m_temporary))
                break;
            const int error = errno;
            m_temporary.clear();
            if (error != EEXIST || attempt == 100)
                throw InOutErrorFromErrno(error);
        }
    }
    m_unnamed = false;
    ::close(std::exchange(m_fd, -1)); // linked and flushed: the close changes nothing
}

QByteArray ReplacingFile::temporaryName() const
{
    // A hidden name beside the target keeps the rename on one file system; the name is cut so
    // that the additions cannot exceed the longest name a folder takes.
    const qsizetype slash = m_target.lastIndexOf('/');
    return m_target.left(slash + 1) + '.' + m_target.mid(slash + 1).left(200) + '.' + randomSuffix() + kTemporaryEnd;
}

int ReplacingFilesOpenAtOnce()
{
    rlimit limit {};
    // One batch shares one flush of the file system: a screening day of 500 rows fits in one
    // wherever the limit allows, and a quarter of the limit stays free for everything else.
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return 1024;
    return int(std::clamp<rlim_t>(limit.rlim_cur / 4, 8, 1024));
}

void SetReplacingStepHook(void (*hook)(ReplacingStep))
{
    g_stepHook = hook;
}

void SetUnnamedTemporariesAllowed(bool allowed)
{
    g_unnamedAllowed = allowed;
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
