// Where a restored window goes: a stored placement whose title bar no screen shows,
// or too little of it to grab, moves onto the nearest screen; one larger than every
// screen shrinks into the largest. Free of any toolkit.
#pragma once

#include <optional>
#include <vector>

namespace ek {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const ScreenRect&) const = default;
};

// How much of a window's top strip must lie on one screen for the user to grab it.
inline constexpr int kMinVisibleWidth = 48;
inline constexpr int kMinVisibleHeight = 24;

// The rectangle to give a window whose stored normal rectangle is `window`, given
// the work areas of the screens (the first is the primary one). Nothing when the
// stored rectangle is empty or there is no screen: keep the default placement.
std::optional<ScreenRect> PlaceOnScreens(const ScreenRect& window,
                                         const std::vector<ScreenRect>& screens);

}  // namespace ek
