#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <span>

// A file opened for reading through a fixed buffer, so a file of any size costs the same
// memory. Failures throw EInOutError.
class BufferedFileInput
{
public:
    explicit BufferedFileInput(const QString& path);
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
};
