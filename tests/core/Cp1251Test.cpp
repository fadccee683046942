#include "core/Cp1251.h"

#include <gtest/gtest.h>

TEST(Cp1251, EveryByteDecodesAndEncodesBack)
{
    for (int b = 0; b < 256; ++b) {
        const QChar c = Cp1251CharOf(char(b));
        EXPECT_TRUE(IsCp1251Representable(c)) << b;
        EXPECT_EQ(std::uint8_t(Cp1251ByteOf(c)), b) << b;
    }
}

TEST(Cp1251, KnownCharacters)
{
    struct Row { const char* name; char16_t unicode; int byte; };
    const Row rows[] = {
        {"ascii letter", u'A', 0x41},
        {"capital A", u'А', 0xC0},
        {"small ya", u'я', 0xFF},
        {"capital Yo", u'Ё', 0xA8},
        {"small yo", u'ё', 0xB8},
        {"numero sign", u'№', 0xB9},
        {"euro sign", u'€', 0x88},
        {"no-break space", 0x00A0, 0xA0},
        {"unassigned byte", 0x0098, 0x98},
        {"guillemet", u'«', 0xAB},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(IsCp1251Representable(QChar(row.unicode)));
        EXPECT_EQ(std::uint8_t(Cp1251ByteOf(QChar(row.unicode))), row.byte);
        EXPECT_EQ(Cp1251CharOf(char(row.byte)), QChar(row.unicode));
    }
}

TEST(Cp1251, CharactersOutsideBecomeOneQuestionMarkEach)
{
    struct Row { const char* name; QString text; QString replaced; QByteArray bytes; };
    const Row rows[] = {
        {"Latin-1 letter", QStringLiteral("Müller"), QStringLiteral("M?ller"), QByteArray("M?ller")},
        {"Greek", QStringLiteral("αβ"), QStringLiteral("??"), QByteArray("??")},
        {"surrogate pair", QStringLiteral("a\U0001F600b"), QStringLiteral("a?b"), QByteArray("a?b")},
        {"Cyrillic kept", QStringLiteral("Иванов"), QStringLiteral("Иванов"),
         QByteArray("\xC8\xE2\xE0\xED\xEE\xE2")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ReplaceNonCp1251(row.text), row.replaced);
        EXPECT_EQ(EncodeCp1251(row.text), row.bytes);
    }
    EXPECT_FALSE(IsCp1251Representable(QChar(u'ü')));
    EXPECT_FALSE(IsCp1251Representable(QChar(0xD83D)));
}
