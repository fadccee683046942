#include "records/BufferedFileInput.h"

#include "records/InOutError.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

BufferedFileInput::BufferedFileInput(const QString& path)
{
    const QByteArray nativePath = QFile::encodeName(path);
    do {
        m_fd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC);
    } while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0)
        throw InOutErrorFromErrno(errno);
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
