#include "shell/ScreenPlacement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace ek {

namespace {

// The user reaches a window by its title bar: the top strip of the window must lie
// on the screen, wide enough to grab.
bool IsReachableOn(const ScreenRect& window, const ScreenRect& screen) {
    // Overlaps as 64-bit so that extreme stored values cannot overflow.
    std::int64_t width =
        std::int64_t{std::min(window.right, screen.right)} - std::max(window.left, screen.left);
    std::int64_t stripBottom =
        std::int64_t{window.top} + std::min(kMinVisibleHeight, window.Height());
    return width >= std::min(kMinVisibleWidth, window.Width()) && window.top >= screen.top &&
           stripBottom <= screen.bottom;
}

// Squared distance between the centres of the window and the screen.
std::int64_t Distance(const ScreenRect& window, const ScreenRect& screen) {
    std::int64_t dx =
        (std::int64_t{window.left} + window.right) - (std::int64_t{screen.left} + screen.right);
    std::int64_t dy =
        (std::int64_t{window.top} + window.bottom) - (std::int64_t{screen.top} + screen.bottom);
    // Halved coordinates cannot overflow a 64-bit square.
    dx /= 2;
    dy /= 2;
    return dx * dx + dy * dy;
}

bool FitsOn(const ScreenRect& window, const ScreenRect& screen) {
    return window.Width() <= screen.Width() && window.Height() <= screen.Height();
}

std::int64_t Area(const ScreenRect& screen) {
    return std::int64_t{screen.Width()} * screen.Height();
}

// `window` shrunk to fit `screen` where it is larger, and moved as little as
// possible to lie wholly on it.
ScreenRect MoveInside(const ScreenRect& window, const ScreenRect& screen) {
    int width = std::min(window.Width(), screen.Width());
    int height = std::min(window.Height(), screen.Height());
    int left = std::clamp(window.left, screen.left, screen.right - width);
    int top = std::clamp(window.top, screen.top, screen.bottom - height);
    return ScreenRect{left, top, left + width, top + height};
}

}  // namespace

std::optional<ScreenRect> PlaceOnScreens(const ScreenRect& window,
                                         const std::vector<ScreenRect>& screens) {
    if (window.IsEmpty() || screens.empty() ||
        std::int64_t{window.right} - window.left > std::numeric_limits<int>::max() ||
        std::int64_t{window.bottom} - window.top > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    // A window that fits on no screen would hold its status bar, or its right edge,
    // out of sight wherever it stood: it goes inside the largest screen.
    const ScreenRect* largest = nullptr;
    bool fitsSomewhere = false;
    for (const ScreenRect& screen : screens) {
        if (!screen.IsEmpty()) {
            fitsSomewhere = fitsSomewhere || FitsOn(window, screen);
            if (largest == nullptr || Area(screen) > Area(*largest)) {
                largest = &screen;
            }
        }
    }
    if (largest == nullptr) {
        return std::nullopt;
    }
    if (!fitsSomewhere) {
        return MoveInside(window, *largest);
    }
    const ScreenRect* nearest = nullptr;
    std::int64_t best = std::numeric_limits<std::int64_t>::max();
    for (const ScreenRect& screen : screens) {
        if (screen.IsEmpty()) {
            continue;
        }
        if (IsReachableOn(window, screen)) {
            return window;
        }
        std::int64_t distance = Distance(window, screen);
        if (distance < best) {
            best = distance;
            nearest = &screen;
        }
    }
    return MoveInside(window, *nearest);
}

}  // namespace ek
