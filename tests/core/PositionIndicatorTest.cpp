#include <gtest/gtest.h>

#include "core/frame/PositionIndicator.h"

namespace ek::test {
namespace {

TEST(PositionIndicator, CountsFromOneAndShowsNoneAsZero) {
    EXPECT_EQ(PositionIndicatorText(2, 120), " 3 / 120 ");
    EXPECT_EQ(PositionIndicatorText(0, 120), " 1 / 120 ");
    EXPECT_EQ(PositionIndicatorText(-1, 0), " 0 / 0 ");
}

}  // namespace
}  // namespace ek::test
