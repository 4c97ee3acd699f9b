#include "core/platform/ProfileStore.h"

#include <charconv>
#include <system_error>

namespace ek {

std::optional<int> ParseProfileInt(std::string_view text) {
    // from_chars takes a '-' but no '+'; after a '+' no second sign may follow.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    int value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

}  // namespace ek
