#include "core/platform/Utf8.h"

namespace ek::utf8 {

bool IsValid(std::string_view text) {
    char32_t cp = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Decode(text, pos, cp);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

}  // namespace ek::utf8
