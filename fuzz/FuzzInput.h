#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

// Splits fuzzer bytes into fields: the first byte steers options, the rest is UTF-8 text cut
// at line feeds.
struct FuzzInput
{
    std::uint8_t options = 0;
    QStringList fields;

    FuzzInput(const std::uint8_t* data, std::size_t size)
    {
        if (size == 0)
            return;
        options = data[0];
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                               qsizetype(size - 1));
        fields = text.split(u'\n');
    }

    QString field(qsizetype i) const { return i < fields.size() ? fields[i] : QString(); }
};

// Aborts the run with a message when a property the program relies on does not hold.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
