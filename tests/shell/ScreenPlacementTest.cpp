#include <gtest/gtest.h>

#include <climits>

#include "shell/ScreenPlacement.h"

namespace ek {
namespace {

std::string Show(const ScreenRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

const ScreenRect kPrimary{0, 0, 1920, 1040};
const ScreenRect kRight{1920, 0, 3200, 1024};

struct PlaceCase {
    const char* what;
    ScreenRect window;
    std::vector<ScreenRect> screens;
    std::optional<ScreenRect> expected;
};

TEST(ScreenPlacementTest, KeepsReachableWindowsAndMovesLostOnes) {
    const PlaceCase cases[] = {
        {"inside", {100, 100, 900, 700}, {kPrimary}, ScreenRect{100, 100, 900, 700}},
        {"partly off the right edge",
         {1800, 100, 2600, 700},
         {kPrimary},
         ScreenRect{1800, 100, 2600, 700}},
        {"on the second screen",
         {2000, 50, 2600, 650},
         {kPrimary, kRight},
         ScreenRect{2000, 50, 2600, 650}},
        {"second screen gone", {2000, 50, 2600, 650}, {kPrimary}, ScreenRect{1320, 50, 1920, 650}},
        {"far left", {-5000, 200, -4200, 800}, {kPrimary}, ScreenRect{0, 200, 800, 800}},
        {"below", {100, 3000, 900, 3600}, {kPrimary}, ScreenRect{100, 440, 900, 1040}},
        {"only a sliver shows",
         {1900, 100, 2700, 700},
         {kPrimary},
         ScreenRect{1120, 100, 1920, 700}},
        {"nearest of two",
         {4000, 100, 4600, 500},
         {kPrimary, kRight},
         ScreenRect{2600, 100, 3200, 500}},
        {"larger than the screen",
         {-3000, -3000, 1000, 1000},
         {{0, 0, 800, 600}},
         ScreenRect{0, 0, 800, 600}},
        {"stored far larger than the screen",
         {0, 0, 99999, 99999},
         {kPrimary},
         ScreenRect{0, 0, 1920, 1040}},
        {"larger than both screens goes into the largest",
         {0, 0, 99999, 99999},
         {kRight, kPrimary},
         ScreenRect{0, 0, 1920, 1040}},
        {"larger than both, standing on the smaller one",
         {2000, 10, 6000, 3000},
         {kPrimary, kRight},
         ScreenRect{0, 0, 1920, 1040}},
        {"too tall for every screen keeps its width",
         {100, 20, 900, 1200},
         {kPrimary, kRight},
         ScreenRect{100, 0, 900, 1040}},
        {"one pixel too wide", {0, 0, 1921, 800}, {kPrimary}, ScreenRect{0, 0, 1920, 800}},
        {"exactly the screen's size", {0, 0, 1920, 1040}, {kPrimary}, ScreenRect{0, 0, 1920, 1040}},
        {"too large for the second screen, fits the first",
         {1950, 0, 3550, 1000},
         {kPrimary, kRight},
         ScreenRect{1950, 0, 3550, 1000}},
        {"larger than a screen with an offset origin",
         {-500, -500, 5000, 5000},
         {{-1280, 0, 0, 1024}},
         ScreenRect{-1280, 0, 0, 1024}},
        {"title bar above the screen",
         {100, -50, 900, 600},
         {kPrimary},
         ScreenRect{100, 0, 900, 650}},
        {"title bar below the bottom edge",
         {100, 1030, 900, 1600},
         {kPrimary},
         ScreenRect{100, 470, 900, 1040}},
        {"empty rectangle", {500, 500, 500, 900}, {kPrimary}, std::nullopt},
        {"no screen", {0, 0, 100, 100}, {}, std::nullopt},
        {"extreme values", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {kPrimary}, std::nullopt},
        {"extreme position",
         {INT_MAX - 100, INT_MAX - 100, INT_MAX, INT_MAX},
         {kPrimary},
         ScreenRect{1820, 940, 1920, 1040}},
    };
    for (const PlaceCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<ScreenRect> placed = PlaceOnScreens(c.window, c.screens);
        ASSERT_EQ(placed.has_value(), c.expected.has_value());
        if (placed) {
            EXPECT_EQ(Show(*placed), Show(*c.expected));
        }
    }
}

}  // namespace
}  // namespace ek
