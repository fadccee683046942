#include "tests/app/MainWindowTestSupport.h"

namespace apptest {
namespace {

TEST_F(MainWindowTest, Placeholder)
{
    EXPECT_TRUE(form().isVisible());
}

} // namespace
} // namespace apptest
