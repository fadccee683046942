#include "summary/RecordFileScan.h"

#include "records/InOutError.h"
#include "records/RecordFile.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <set>
#include <utility>

namespace {

constexpr qsizetype kSniffLimit = 64 * 1024;

using FileId = std::pair<dev_t, ino_t>;

bool HasRecordExtension(const QString& name)
{
    return name.endsWith(QLatin1String(".vnl"), Qt::CaseInsensitive);
}

const QString kLoop = QStringLiteral("Символическая ссылка образует цикл");

class FolderWalk
{
public:
    // `roots`: the canonical paths of the chosen folders, the only places a link may lead to.
    FolderWalk(RecordFileList& list, QList<QByteArray> roots, const std::atomic<bool>* cancel)
        : m_list(list), m_roots(std::move(roots)), m_cancel(cancel)
    {
    }

    void walk(const QString& folder, const struct stat& info)
    {
        if (cancelled())
            return;
        const FileId id{info.st_dev, info.st_ino};
        if (std::find(m_ancestors.begin(), m_ancestors.end(), id) != m_ancestors.end()) {
            skip(folder, kLoop, SkipKind::Link);
            return;
        }
        // Reached a second time by another link: its files are in the list already.
        if (!m_seen.insert(id).second)
            return;

        const QByteArray encoded = QFile::encodeName(folder);
        DIR* dir = ::opendir(encoded.constData());
        if (dir == nullptr) {
            skipFolder(folder, errno);
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
        ::closedir(dir);
        if (readError != 0)
            skipFolder(folder, readError); // what was listed before the error is still looked at
        std::sort(names.begin(), names.end());

        m_ancestors.push_back(id);
        const QByteArray prefix = encoded.endsWith('/') ? encoded : encoded + '/';
        for (const QByteArray& name : names) {
            if (cancelled())
                break;
            visit(prefix + name, QFile::decodeName(name));
        }
        m_ancestors.pop_back();
    }

private:
    void visit(const QByteArray& encodedPath, const QString& name)
    {
        const QString path = QFile::decodeName(encodedPath);
        struct stat info {};
        if (::lstat(encodedPath.constData(), &info) != 0) {
            skip(path, ReadErrorReason(errno), SkipKind::Unreadable);
            return;
        }
        if (S_ISLNK(info.st_mode)) {
            if (!leadsInside(encodedPath, path))
                return;
            if (::stat(encodedPath.constData(), &info) != 0) {
                skip(path, ReadErrorReason(errno), SkipKind::Link);
                return;
            }
        }
        if (S_ISDIR(info.st_mode)) {
            walk(path, info);
            return;
        }
        const bool named = HasRecordExtension(name);
        if (!S_ISREG(info.st_mode)) {
            if (named)
                skip(path, QStringLiteral("Не обычный файл (канал или устройство)"), SkipKind::Special);
            return;
        }
        if (named || StartsWithRecordHeader(path))
            m_list.files.append(path);
    }

    // A link is followed only to a place inside the chosen folders, so that a link to "/" does
    // not take the scan over the whole machine. Says why when it is not.
    bool leadsInside(const QByteArray& encodedPath, const QString& path)
    {
        char* resolved = ::realpath(encodedPath.constData(), nullptr);
        if (resolved == nullptr) {
            const int error = errno;
            skip(path,
                 error == ELOOP                       ? kLoop
                 : error == ENOENT || error == ENOTDIR ? QStringLiteral("Символическая ссылка никуда не ведет")
                                                       : ReadErrorReason(error),
                 SkipKind::Link);
            return false;
        }
        const QByteArray target(resolved);
        std::free(resolved);
        const bool inside = std::any_of(m_roots.begin(), m_roots.end(), [&target](const QByteArray& root) {
            return target == root || target.startsWith(root.endsWith('/') ? root : root + '/');
        });
        if (!inside)
            skip(path, QStringLiteral("Символическая ссылка ведет за пределы выбранных папок"), SkipKind::Link);
        return inside;
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
    const QList<QByteArray> m_roots;
    const std::atomic<bool>* m_cancel;
    std::vector<FileId> m_ancestors;
    std::set<FileId> m_seen;
};

} // namespace

bool FirstLineHoldsHeader(const QByteArray& bytes)
{
    // A line cut off by the sniff limit is not a record's first line.
    return FirstLineHoldsRecordHeader(bytes, bytes.size() < kSniffLimit);
}

bool StartsWithRecordHeader(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
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

RecordFileList FindRecordFiles(const QStringList& paths, const std::atomic<bool>* cancel)
{
    QList<QByteArray> roots;
    QList<std::pair<QString, struct stat>> folders;
    RecordFileList list;
    for (const QString& path : paths) {
        const QByteArray encoded = QFile::encodeName(path);
        struct stat info {};
        if (::stat(encoded.constData(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            list.files.append(path); // named on purpose: it gets a row, whatever it holds
            continue;
        }
        folders.append({path, info});
        char* resolved = ::realpath(encoded.constData(), nullptr);
        roots.append(resolved != nullptr ? QByteArray(resolved) : encoded);
        std::free(resolved);
    }
    FolderWalk walk(list, roots, cancel);
    for (const auto& [folder, info] : folders)
        walk.walk(folder, info);
    return list;
}
