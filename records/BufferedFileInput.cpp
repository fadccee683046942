#include "records/BufferedFileInput.h"

#include "records/InOutError.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

BufferedFileInput::BufferedFileInput(const QString& path)
{
    const QByteArray nativePath = QFile::encodeName(path);
    // Without O_NONBLOCK, opening a FIFO waits for a writer; the open only looks at what the name
    // is, and reading then blocks as usual.
    do {
        m_fd = ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    } while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0)
        throw InOutErrorFromErrno(errno);
    const auto fail = [this](int error) {
        ::close(m_fd);
        throw InOutErrorFromErrno(error);
    };
    struct stat status {};
    if (::fstat(m_fd, &status) != 0)
        fail(errno);
    // A FIFO, a device or a socket is no record file, and /dev/zero would never end.
    if (!S_ISREG(status.st_mode))
        fail(S_ISDIR(status.st_mode) ? EISDIR : EACCES);
    const int flags = ::fcntl(m_fd, F_GETFL);
    if (flags < 0 || ::fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        fail(errno);
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
    m_position = 0;
    m_length = std::size_t(count);
    m_atEnd = count == 0;
    return !m_atEnd;
}
