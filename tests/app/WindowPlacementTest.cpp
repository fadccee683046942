#include "app/WindowPlacement.h"

#include "tests/app/RowName.h"

#include <gtest/gtest.h>

namespace {

struct PlacementCase
{
    const char* name;
    QRect area;
    QSize size;
    QPoint expected;
};

const PlacementCase placementCases[] = {
    {"CentredOverOwner", QRect(100, 50, 390, 402), QSize(213, 162), QPoint(188, 170)},
    {"OddDifferenceTruncates", QRect(0, 0, 1024, 768), QSize(382, 377), QPoint(321, 195)},
    {"AboutOverMainWindow", QRect(321, 183, 390, 402), QSize(350, 311), QPoint(341, 228)},
    {"NegativeLeftRaisedToZero", QRect(-300, 10, 390, 402), QSize(350, 311), QPoint(0, 55)},
    {"NegativeTopRaisedToZero", QRect(10, -200, 390, 402), QSize(213, 162), QPoint(98, 0)},
    {"LargerThanAreaStartsAtZero", QRect(0, 0, 100, 100), QSize(213, 162), QPoint(0, 0)},
    {"SecondMonitorOffset", QRect(1920, 0, 1280, 1024), QSize(382, 376), QPoint(2369, 324)},
};

class CentredPlacementCase : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(CentredPlacementCase, Placement)
{
    EXPECT_EQ(CentredPlacement(GetParam().area, GetParam().size), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Areas, CentredPlacementCase, ::testing::ValuesIn(placementCases), RowName());

const PlacementCase desktopCases[] = {
    {"OneScreen", QRect(0, 0, 1024, 768), QSize(382, 376), QPoint(321, 196)},
    {"MonitorRightOfPrimary", QRect(0, 0, 3200, 1024), QSize(382, 376), QPoint(1409, 324)},
    // The desktop's centre lies on a monitor left of the primary one: raising it to 0 would
    // put the window at the primary monitor's edge instead of the centre.
    {"NegativeCentreOnMonitorLeftOfPrimaryKept", QRect(-2560, 0, 4480, 1440), QSize(382, 376), QPoint(-511, 532)},
    {"NegativeCentreOnMonitorAbovePrimaryKept", QRect(0, -1200, 1920, 2280), QSize(382, 376), QPoint(769, -248)},
    {"LargerThanDesktopStartsAtItsCorner", QRect(-100, -50, 300, 200), QSize(382, 376), QPoint(-100, -50)},
};

class DesktopCentredPlacementCase : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(DesktopCentredPlacementCase, Placement)
{
    EXPECT_EQ(DesktopCentredPlacement(GetParam().area, GetParam().size), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Desktops, DesktopCentredPlacementCase, ::testing::ValuesIn(desktopCases), RowName());

} // namespace
