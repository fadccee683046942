#include "core/RegionalSettings.h"

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
