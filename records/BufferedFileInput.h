#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <optional>
#include <span>

// A file opened for reading through a fixed buffer, so a file of any size costs the same
// memory. Failures throw EInOutError; past `byteLimit` bytes (checked on the open file, so one
// that grows is caught too) EFileTooLarge.
class BufferedFileInput
{
public:
    explicit BufferedFileInput(const QString& path, std::optional<qint64> byteLimit = std::nullopt);
    ~BufferedFileInput();
    BufferedFileInput(const BufferedFileInput&) = delete;
    BufferedFileInput& operator=(const BufferedFileInput&) = delete;

    static constexpr int End = -1;

    // The next byte (0..255) without taking it, or End.
    int peek();
    // The bytes read ahead and not yet taken; refilled when none are left, empty at the end.
    std::span<const unsigned char> available();
    void consume(std::size_t count) { m_position += count; }

private:
    bool fill();

    int m_fd = -1;
    std::array<unsigned char, 64 * 1024> m_buffer {};
    std::size_t m_position = 0;
    std::size_t m_length = 0;
    bool m_atEnd = false;
    std::optional<qint64> m_byteLimit;
    qint64 m_bytesRead = 0;
};
