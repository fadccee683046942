#include "reports/ExportFile.h"

#include "records/InOutError.h"
#include "records/ReplacingFile.h"

#include <QFile>
#include <QIODevice>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr qsizetype kChunk = 16 * 1024;

bool IsWrittenInto(mode_t mode)
{
    return S_ISCHR(mode) || S_ISFIFO(mode);
}

// Gathers writes into chunks for `sink`, so the PDF engine's many small writes cost few system
// calls. The first failure sticks: later writes fail at once.
class ChunkDevice final : public QIODevice
{
public:
    using Sink = std::function<void(const QByteArray&)>; // throws EInOutError

    explicit ChunkDevice(Sink sink) : m_sink(std::move(sink)) { QIODevice::open(WriteOnly | Unbuffered); }
    bool isSequential() const override { return true; }

    // Hands on what is gathered. False, with errorString() saying why, once a write failed.
    bool handOn()
    {
        if (!m_failed && !m_chunk.isEmpty()) {
            hand(m_chunk);
            m_chunk.clear();
        }
        return !m_failed;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        if (m_chunk.isEmpty() && size >= kChunk)
            hand(QByteArray::fromRawData(data, size));
        else
            m_chunk.append(data, size);
        if (m_chunk.size() >= kChunk)
            handOn();
        return m_failed ? -1 : size;
    }

private:
    void hand(const QByteArray& bytes)
    {
        if (m_failed)
            return;
        try {
            m_sink(bytes);
        } catch (const EInOutError& error) {
            m_failed = true;
            setErrorString(error.message());
        }
    }

    Sink m_sink;
    QByteArray m_chunk;
    bool m_failed = false;
};

void WriteAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, std::size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            throw InOutErrorFromErrno(errno);
        data += written;
        left -= written;
    }
}

} // namespace

struct ExportFile::Private
{
    QString error;
    std::unique_ptr<ReplacingFile> file; // a regular file's new version
    int fd = -1;                         // a device, a pipe or standard output
    bool ownsFd = false;
    QByteArray held; // the bytes for `fd`, so that a cancelled run gives it nothing
    ChunkDevice device{[this](const QByteArray& bytes) {
        if (file)
            file->write(bytes);
        else
            held += bytes;
    }};
};

ExportFile::ExportFile(const QString& path) : d(std::make_unique<Private>())
{
    if (path == QLatin1String("-")) {
        d->fd = STDOUT_FILENO;
        return;
    }
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
        if (S_ISDIR(info.st_mode)) {
            d->error = QStringLiteral("это папка");
            return;
        }
        if (!IsWrittenInto(info.st_mode)) {
            d->error = QStringLiteral("это не файл, не символьное устройство и не канал");
            return;
        }
        // A pipe opens once it has a reader, as with the shell's ">".
        const int fd = ::open(native.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            d->error = InOutErrorFromErrno(errno).message();
            return;
        }
        // What was opened decides: a device swapped for a file meanwhile is replaced as a file.
        if (::fstat(fd, &info) == 0 && IsWrittenInto(info.st_mode)) {
            d->fd = fd;
            d->ownsFd = true;
            return;
        }
        ::close(fd);
    }
    try {
        d->file = std::make_unique<ReplacingFile>(path);
    } catch (const EInOutError& error) {
        d->error = error.message();
    }
}

ExportFile::~ExportFile()
{
    if (d->ownsFd)
        ::close(d->fd);
}

QString ExportFile::error() const
{
    return d->error;
}

QIODevice& ExportFile::device()
{
    return d->device;
}

bool ExportFile::finish()
{
    if (d->error.isEmpty() && !d->device.handOn())
        d->error = d->device.errorString();
    return d->error.isEmpty();
}

bool ExportFile::isWrittenInto() const
{
    return d->fd >= 0;
}

bool ExportFile::place()
{
    if (!finish())
        return false;
    try {
        if (d->file)
            d->file->commit();
        else
            WriteAll(d->fd, std::exchange(d->held, {}));
    } catch (const EInOutError& error) {
        d->error = error.message();
    }
    return d->error.isEmpty();
}

QStringList WriteExportsTogether(const QList<Export>& exports, const std::atomic<bool>* cancel)
{
    const auto cancelled = [cancel] { return cancel != nullptr && cancel->load(); };
    QStringList failures;
    std::vector<std::unique_ptr<ExportFile>> files;
    bool failed = false;
    // Every destination first, so that a refused one costs no writing.
    for (const Export& output : exports) {
        files.push_back(std::make_unique<ExportFile>(output.path));
        failures.append(files.back()->error());
        failed = failed || !failures.back().isEmpty();
    }
    for (qsizetype i = 0; i < exports.size() && !failed && !cancelled(); ++i) {
        ExportFile& file = *files[std::size_t(i)];
        failures[i] = exports[i].write(file.device());
        if (failures[i].isEmpty() && !file.finish())
            failures[i] = file.error();
        failed = !failures[i].isEmpty();
    }
    if (!failed && cancelled()) {
        for (QString& failure : failures)
            failure = CancelledReason();
    }
    if (failed || cancelled())
        return failures;
    // Devices and pipes first: what fails there (a closed pipe, a full device) fails before any
    // file is replaced.
    for (const bool writtenInto : {true, false}) {
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (files[i]->isWrittenInto() == writtenInto && !files[i]->place()) {
                failures[qsizetype(i)] = files[i]->error();
                return failures;
            }
        }
    }
    return failures;
}

QString WriteExport(const QString& path, const ExportWriter& write)
{
    return WriteExportsTogether({{path, write}}).value(0);
}

bool NamesStandardOutput(const QString& path)
{
    if (path == QLatin1String("-"))
        return true;
    struct stat named {};
    struct stat output {};
    return ::stat(QFile::encodeName(path).constData(), &named) == 0 && ::fstat(STDOUT_FILENO, &output) == 0
           && named.st_dev == output.st_dev && named.st_ino == output.st_ino;
}

QString CancelledReason()
{
    return QStringLiteral("прервано");
}

QString WriteBytes(QIODevice& device, const QByteArray& bytes)
{
    return device.write(bytes) == bytes.size() ? QString() : device.errorString();
}
