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
#include <set>
#include <utility>

namespace {

constexpr qsizetype kSniffLimit = 64 * 1024;

using FileId = std::pair<dev_t, ino_t>;

bool HasRecordExtension(const QString& name)
{
    return name.endsWith(QLatin1String(".vnl"), Qt::CaseInsensitive);
}

class FolderWalk
{
public:
    FolderWalk(RecordFileList& list, const std::atomic<bool>* cancel) : m_list(list), m_cancel(cancel) {}

    void walk(const QString& folder, const struct stat& info)
    {
        if (cancelled())
            return;
        const FileId id{info.st_dev, info.st_ino};
        if (std::find(m_ancestors.begin(), m_ancestors.end(), id) != m_ancestors.end()) {
            skip(folder, QStringLiteral("Символическая ссылка образует цикл"));
            return;
        }
        // Reached a second time by another link: its files are in the list already.
        if (!m_seen.insert(id).second)
            return;

        const QByteArray encoded = QFile::encodeName(folder);
        DIR* dir = ::opendir(encoded.constData());
        if (dir == nullptr) {
            skip(folder, QStringLiteral("Папка не читается: %1").arg(InOutErrorFromErrno(errno).message()));
            return;
        }
        QList<QByteArray> names;
        while (const dirent* entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names.append(name);
        }
        ::closedir(dir);
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
        if (::stat(encodedPath.constData(), &info) != 0) {
            const int error = errno;
            struct stat link {};
            if (::lstat(encodedPath.constData(), &link) == 0 && S_ISLNK(link.st_mode))
                skip(path, error == ELOOP ? QStringLiteral("Символическая ссылка образует цикл")
                                          : QStringLiteral("Символическая ссылка никуда не ведет"));
            else
                skip(path, QStringLiteral("Ошибка чтения: %1").arg(InOutErrorFromErrno(error).message()));
            return;
        }
        if (S_ISDIR(info.st_mode)) {
            walk(path, info);
            return;
        }
        const bool named = HasRecordExtension(name);
        if (!S_ISREG(info.st_mode)) {
            if (named)
                skip(path, QStringLiteral("Не обычный файл (канал или устройство)"));
            return;
        }
        if (named || StartsWithRecordHeader(path))
            m_list.files.append(path);
    }

    void skip(const QString& path, const QString& reason) { m_list.skipped.append({path, reason}); }
    bool cancelled() const { return m_cancel != nullptr && m_cancel->load(std::memory_order_relaxed); }

    RecordFileList& m_list;
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
    RecordFileList list;
    FolderWalk walk(list, cancel);
    for (const QString& path : paths) {
        struct stat info {};
        if (::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode))
            walk.walk(path, info);
        else
            list.files.append(path); // named on purpose: it gets a row, whatever it holds
    }
    return list;
}
