#include "core/RegionalSettings.h"

#include "tests/support/ProcessLocale.h"

#include <gtest/gtest.h>

TEST(RegionalSettings, ScopedProviderNestsAndRestores)
{
    const QChar processDecimal = regionalSettings().decimalSeparator();
    {
        ScopedRegionalSettings comma(u',', QChar(0x00A0));
        EXPECT_EQ(regionalSettings().decimalSeparator(), u',');
        EXPECT_EQ(regionalSettings().thousandSeparator(), QChar(0x00A0));
        {
            ScopedRegionalSettings dot(u'.', u',');
            EXPECT_EQ(regionalSettings().decimalSeparator(), u'.');
        }
        EXPECT_EQ(regionalSettings().decimalSeparator(), u',');
    }
    EXPECT_EQ(regionalSettings().decimalSeparator(), processDecimal);
}

TEST(RegionalSettings, ProcessLocaleProviderReadsTheRealLocale)
{
    struct Row { const char* locale; QChar decimal; QChar thousand; };
    const Row rows[] = {
        {"C.UTF-8", u'.', QChar()},
        {testsupport::RussianLocale, u',', QChar(0x202F)}, // narrow no-break space
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.locale);
        testsupport::ScopedProcessLocale process(row.locale);
        const ProcessLocaleSettings settings;
        EXPECT_EQ(settings.decimalSeparator(), row.decimal);
        EXPECT_EQ(settings.thousandSeparator(), row.thousand);
    }
}
