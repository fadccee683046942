#include "core/Cp1251.h"

#include <array>
#include <cstdint>

namespace {

// Unicode code points of bytes 0x80..0xFF.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// -1 when the character has no byte.
int byteOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return u;
    if (u >= 0x0410 && u <= 0x044F) // the Cyrillic alphabet, in order
        return u - 0x0410 + 0xC0;
    for (std::size_t i = 0; i < 64; ++i) // the irregular part
        if (kUpperHalf[i] == u)
            return int(i) + 0x80;
    return -1;
}

// Calls sink(byte-or-minus-one) once per character, a surrogate pair counting as one.
template <typename Sink>
void forEachCharacter(const QString& text, Sink sink)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            sink(-1);
        } else {
            sink(byteOf(c));
        }
    }
}

} // namespace

bool IsCp1251Representable(QChar c)
{
    return byteOf(c) >= 0;
}

char Cp1251ByteOf(QChar c)
{
    const int b = byteOf(c);
    return b < 0 ? '?' : char(b);
}

QChar Cp1251CharOf(char byte)
{
    const auto b = std::uint8_t(byte);
    return b < 0x80 ? QChar(char16_t(b)) : QChar(kUpperHalf[b - 0x80]);
}

QByteArray EncodeCp1251(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    forEachCharacter(text, [&](int b) { bytes.append(b < 0 ? '?' : char(b)); });
    return bytes;
}

QString DecodeCp1251(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char b : bytes)
        text.append(Cp1251CharOf(b));
    return text;
}

QString ReplaceNonCp1251(const QString& text)
{
    return DecodeCp1251(EncodeCp1251(text));
}
