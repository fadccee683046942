#include "records/BufferedFileInput.h"

#include "records/InOutError.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

BufferedFileInput::BufferedFileInput(const QString& path, std::optional<qint64> byteLimit) : m_byteLimit(byteLimit)
{
    const QByteArray nativePath = QFile::encodeName(path);
    // Without O_NONBLOCK, opening a FIFO waits for a writer; the open only looks at what the name
    // is, and reading then blocks as usual.
    do {
        m_fd = ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0)
        throw InOutErrorFromErrno(errno);
    const auto fail = [this](const auto& error) { // thrown as its own type, so callers can tell it apart
        ::close(m_fd);
        throw error;
    };
    struct stat status {};
    if (::fstat(m_fd, &status) != 0)
        fail(InOutErrorFromErrno(errno));
    // A FIFO, a device or a socket is no record file, and /dev/zero would never end.
    if (S_ISDIR(status.st_mode))
        fail(InOutErrorFromErrno(EISDIR));
    if (!S_ISREG(status.st_mode))
        fail(ENotRegularFile());
    if (m_byteLimit && status.st_size > *m_byteLimit)
        fail(EFileTooLarge(*m_byteLimit));
    const int flags = ::fcntl(m_fd, F_GETFL);
    if (flags < 0 || ::fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        fail(InOutErrorFromErrno(errno));
}

BufferedFileInput::~BufferedFileInput()
{
    ::close(m_fd); // nothing was written, so a failing close loses nothing
}

int BufferedFileInput::peek()
{
    if (m_position == m_length && !fill())
        return End;
    return m_buffer[m_position];
}

std::span<const unsigned char> BufferedFileInput::available()
{
    if (m_position == m_length && !fill())
        return {};
    return {m_buffer.data() + m_position, m_length - m_position};
}

bool BufferedFileInput::fill()
{
    if (m_atEnd)
        return false;
    ssize_t count = 0;
    do {
        count = ::read(m_fd, m_buffer.data(), m_buffer.size());
    } while (count < 0 && errno == EINTR);
    if (count < 0)
        throw InOutErrorFromErrno(errno);
    m_bytesRead += count;
    if (m_byteLimit && m_bytesRead > *m_byteLimit)
        throw EFileTooLarge(*m_byteLimit); // it grew since it was opened
    m_position = 0;
    m_length = std::size_t(count);
    m_atEnd = count == 0;
    return !m_atEnd;
}
