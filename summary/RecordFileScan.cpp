#include "summary/RecordFileScan.h"

#include "records/InOutError.h"
#include "records/RecordFile.h"
#include "records/ReplacingFile.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

constexpr qsizetype kSniffLimit = 64 * 1024;

// A file system object however it is reached: the device and inode of what was opened or named.
struct FileId
{
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileId&) const = default;
};

struct FileIdHash
{
    std::size_t operator()(const FileId& id) const noexcept
    {
        return std::hash<ino_t>()(id.inode) ^ (std::hash<dev_t>()(id.device) << 1);
    }
};

struct Identity
{
    FileId id;
    mode_t mode = 0;
    std::uint64_t mount = 0; // 0 when the kernel does not tell
};

// What `name` in the folder `folderFd` is (with AT_EMPTY_PATH and "", what `folderFd` itself is),
// links not followed.
bool Identify(int folderFd, const char* name, int flags, Identity& identity)
{
    struct statx info {};
    if (::statx(folderFd, name, flags | AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
                STATX_TYPE | STATX_INO | STATX_MNT_ID, &info)
        != 0)
        return false;
    identity.id = {makedev(info.stx_dev_major, info.stx_dev_minor), info.stx_ino};
    identity.mode = info.stx_mode;
    identity.mount = (info.stx_mask & STATX_MNT_ID) != 0 ? info.stx_mnt_id : 0;
    return true;
}

bool HasRecordExtension(const QString& name)
{
    return name.endsWith(QLatin1String(".vnl"), Qt::CaseInsensitive);
}

// Reads the start of the regular file open on `fd` without blocking and without reading more
// than 64 KiB; closes `fd`.
bool SniffHeader(int fd)
{
    if (fd < 0)
        return false;
    QByteArray bytes;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        bytes.resize(kSniffLimit);
        qsizetype length = 0;
        while (length < kSniffLimit) {
            const ssize_t got = ::read(fd, bytes.data() + length, std::size_t(kSniffLimit - length));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            length += got;
            if (bytes.left(length).contains('\n'))
                break;
        }
        bytes.truncate(length);
    }
    ::close(fd);
    return FirstLineHoldsHeader(bytes);
}

const QString kLoop = QStringLiteral("Символическая ссылка образует цикл");

// The walk goes by descriptors: each folder is opened from its parent's descriptor without
// following links, so what is listed is what was looked at. A link is resolved once, by opening
// what it leads to; it adds nothing itself but is judged, when every chosen folder is walked, by
// whether the object it leads to was reached inside them. So a file is listed once however many
// names lead to it, and nothing outside is read, whatever is swapped meanwhile.
class FolderWalk
{
public:
    FolderWalk(RecordFileList& list, const std::atomic<bool>* cancel) : m_list(list), m_cancel(cancel) {}

    // A file named on purpose: it gets a row, whatever it holds, once.
    void addNamedFile(const QString& path)
    {
        struct stat info {};
        if (::stat(QFile::encodeName(path).constData(), &info) == 0 && !m_inside.insert({info.st_dev, info.st_ino}).second)
            return;
        m_list.files.append(path);
    }

    // A chosen folder, opened as named (it may be reached by a link itself).
    void addChosenFolder(const QString& folder)
    {
        const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        Identity identity;
        if (fd < 0 || !Identify(fd, "", AT_EMPTY_PATH, identity)) {
            skipFolder(folder, errno);
            if (fd >= 0)
                ::close(fd);
            return;
        }
        m_chosen.insert(identity.id);
        m_folders.push_back({fd, folder, identity});
    }

    void walkChosenFolders()
    {
        for (const auto& [fd, folder, identity] : m_folders)
            walk(fd, folder, identity);
        m_folders.clear();
        judgeLinks();
    }

private:
    struct ChosenFolder
    {
        int fd;
        QString path;
        Identity identity;
    };
    struct LinkSeen
    {
        qsizetype skippedAt; // its entry in the skipped list, kept when it leads outside
        FileId target;
    };

    // Takes `fd`.
    void walk(int fd, const QString& folder, const Identity& identity)
    {
        // A folder met again (chosen twice, or inside another chosen one) is read once.
        if (cancelled() || !m_inside.insert(identity.id).second) {
            ::close(fd);
            return;
        }
        DIR* dir = ::fdopendir(fd);
        if (dir == nullptr) {
            skipFolder(folder, errno);
            ::close(fd);
            return;
        }
        QList<QByteArray> names;
        int readError = 0;
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(dir);
            if (entry == nullptr) {
                readError = errno;
                break;
            }
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names.append(name);
        }
        if (readError != 0)
            skipFolder(folder, readError); // what was listed before the error is still looked at
        std::sort(names.begin(), names.end());

        m_ancestors.push_back(identity.id);
        const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
        for (const QByteArray& name : names) {
            if (cancelled())
                break;
            visit(::dirfd(dir), identity.mount, name, prefix);
        }
        m_ancestors.pop_back();
        ::closedir(dir);
    }

    void visit(int folderFd, std::uint64_t folderMount, const QByteArray& nativeName, const QString& prefix)
    {
        const QString name = QFile::decodeName(nativeName);
        // A save cut off before its rename leaves a complete copy under such a name: not a record.
        if (IsReplacementTemporaryName(name))
            return;
        const QString path = prefix + name;
        Identity identity;
        if (!Identify(folderFd, nativeName.constData(), 0, identity)) {
            skip(path, ReadErrorReason(errno), SkipKind::Unreadable);
            return;
        }
        if (S_ISLNK(identity.mode)) {
            noteLink(folderFd, nativeName, path);
            return;
        }
        if (S_ISDIR(identity.mode)) {
            enter(folderFd, folderMount, nativeName, path, identity);
            return;
        }
        // Another name of a file met before (a hard link) adds nothing.
        if (!m_inside.insert(identity.id).second)
            return;
        const bool named = HasRecordExtension(name);
        if (!S_ISREG(identity.mode)) {
            if (named)
                skip(path, QStringLiteral("Не обычный файл (канал или устройство)"), SkipKind::Special);
            return;
        }
        if (named
            || SniffHeader(::openat(folderFd, nativeName.constData(),
                                    O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC)))
            m_list.files.append(path);
    }

    void enter(int folderFd, std::uint64_t folderMount, const QByteArray& nativeName, const QString& path,
               const Identity& seen)
    {
        // Something mounted here (a bind mount above all) may show any place of the machine.
        if (seen.mount != folderMount && folderMount != 0) {
            if (!m_chosen.contains(seen.id))
                skip(path, QStringLiteral("Точка монтирования ведет за пределы выбранных папок"), SkipKind::Folder);
            return;
        }
        const int fd = ::openat(folderFd, nativeName.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        Identity identity;
        if (fd < 0 || !Identify(fd, "", AT_EMPTY_PATH, identity)) {
            skipFolder(path, errno);
            if (fd >= 0)
                ::close(fd);
            return;
        }
        walk(fd, path, identity);
    }

    // Opens what the link leads to, once and without opening a device or a pipe, and notes it.
    void noteLink(int folderFd, const QByteArray& nativeName, const QString& path)
    {
        const int fd = ::openat(folderFd, nativeName.constData(), O_PATH | O_CLOEXEC);
        Identity target;
        if (fd < 0 || !Identify(fd, "", AT_EMPTY_PATH, target)) {
            const int error = errno;
            if (fd >= 0)
                ::close(fd);
            skip(path,
                 error == ELOOP                        ? kLoop
                 : error == ENOENT || error == ENOTDIR ? QStringLiteral("Символическая ссылка никуда не ведет")
                                                       : ReadErrorReason(error),
                 SkipKind::Link);
            return;
        }
        ::close(fd);
        if (std::find(m_ancestors.begin(), m_ancestors.end(), target.id) != m_ancestors.end()) {
            skip(path, kLoop, SkipKind::Link);
            return;
        }
        m_links.push_back({m_list.skipped.size(), target.id});
        skip(path, QStringLiteral("Символическая ссылка ведет за пределы выбранных папок"), SkipKind::Link);
    }

    // A link is followed only to a place inside the chosen folders, so that a link to "/" does not
    // take the scan over the whole machine; one that leads inside reaches what is listed already.
    void judgeLinks()
    {
        std::vector<bool> inside(std::size_t(m_list.skipped.size()), false);
        for (const LinkSeen& link : m_links)
            inside[std::size_t(link.skippedAt)] = m_inside.contains(link.target);
        m_links.clear();
        qsizetype kept = 0;
        for (qsizetype i = 0; i < m_list.skipped.size(); ++i) {
            if (!inside[std::size_t(i)])
                m_list.skipped[kept++] = m_list.skipped[i];
        }
        m_list.skipped.resize(kept);
    }

    static QString ReadErrorReason(int error)
    {
        return QStringLiteral("Ошибка чтения: %1").arg(InOutErrorFromErrno(error).message());
    }

    void skipFolder(const QString& folder, int error)
    {
        skip(folder, QStringLiteral("Папка не читается: %1").arg(InOutErrorFromErrno(error).message()),
             SkipKind::Folder);
    }

    void skip(const QString& path, const QString& reason, SkipKind kind)
    {
        m_list.skipped.append({path, reason, kind});
    }
    bool cancelled() const { return m_cancel != nullptr && m_cancel->load(std::memory_order_relaxed); }

    RecordFileList& m_list;
    const std::atomic<bool>* m_cancel;
    std::vector<ChosenFolder> m_folders;
    std::unordered_set<FileId, FileIdHash> m_chosen;
    std::unordered_set<FileId, FileIdHash> m_inside; // everything reached without a link, and the named files
    std::vector<FileId> m_ancestors;
    std::vector<LinkSeen> m_links;
};

} // namespace

bool FirstLineHoldsHeader(const QByteArray& bytes)
{
    // A line cut off by the sniff limit is not a record's first line.
    return FirstLineHoldsRecordHeader(bytes, bytes.size() < kSniffLimit);
}

bool StartsWithRecordHeader(const QString& path)
{
    return SniffHeader(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
}

RecordFileList FindRecordFiles(const QStringList& paths, const std::atomic<bool>* cancel)
{
    RecordFileList list;
    FolderWalk walk(list, cancel);
    for (const QString& path : paths) {
        struct stat info {};
        if (::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode))
            walk.addChosenFolder(path);
        else
            walk.addNamedFile(path);
    }
    walk.walkChosenFolders();
    return list;
}
