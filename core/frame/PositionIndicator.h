// The status bar's position indicator: the current message counted from 1, and the
// message count.
#pragma once

#include <cstdio>
#include <string>

namespace ek {

inline std::string PositionIndicatorText(int current, int count) {
    char text[48];
    std::snprintf(text, sizeof text, " %u / %u ", static_cast<unsigned>(current + 1),
                  static_cast<unsigned>(count));
    return text;
}

}  // namespace ek
