#include "frame/ScreenPlacement.h"

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

}  // namespace

std::optional<ScreenRect> PlaceOnScreens(const ScreenRect& window,
                                         const std::vector<ScreenRect>& screens) {
    if (window.IsEmpty() || screens.empty() ||
        std::int64_t{window.right} - window.left > std::numeric_limits<int>::max() ||
        std::int64_t{window.bottom} - window.top > std::numeric_limits<int>::max()) {
        return std::nullopt;
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
    if (nearest == nullptr) {
        return std::nullopt;
    }
    int width = std::min(window.Width(), nearest->Width());
    int height = std::min(window.Height(), nearest->Height());
    int left = std::clamp(window.left, nearest->left, nearest->right - width);
    int top = std::clamp(window.top, nearest->top, nearest->bottom - height);
    return ScreenRect{left, top, left + width, top + height};
}

}  // namespace ek
