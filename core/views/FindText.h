// Find in the message on display: a text matched in the text the pane shows
// (UTF-8), ASCII letters without regard to case, every other character exactly.
// Searching goes on from the last match and wraps at either end.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace ek {

struct FoundText {
    std::size_t start = 0;
    std::size_t end = 0;
    // The search passed the end (or, backwards, the start) of the text to find it.
    bool wrapped = false;

    bool operator==(const FoundText&) const = default;
};

// The first match that starts at `from` or after it; else the first from the top.
// Nothing for an empty `what` or when the text does not hold it.
std::optional<FoundText> FindNextText(std::string_view text, std::string_view what,
                                      std::size_t from);

// The last match that starts before `before`; else the last of the text.
std::optional<FoundText> FindPreviousText(std::string_view text, std::string_view what,
                                          std::size_t before);

}  // namespace ek
