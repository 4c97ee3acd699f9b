#include "core/platform/Cp932.h"

#include <cstring>

namespace ek::cp932 {

std::size_t FindMarker(std::string_view text, std::string_view marker, std::size_t from) {
    if (marker.empty()) {
        return from <= text.size() ? from : std::string_view::npos;
    }
    std::size_t pos = from;
    while (pos + marker.size() <= text.size()) {
        // Jump to the next byte-wise candidate, then walk characters up to it, so that
        // a candidate inside a double-byte character is recognised and skipped.
        std::size_t candidate = text.find(marker, pos);
        if (candidate == std::string_view::npos) {
            return std::string_view::npos;
        }
        while (pos < candidate) {
            pos += CharLength(text, pos);
        }
        if (pos == candidate) {
            return candidate;
        }
        // pos == candidate + 1: the candidate was a trail byte; search on from here.
    }
    return std::string_view::npos;
}

bool IsCharBoundary(std::string_view text, std::size_t pos) {
    std::size_t at = 0;
    while (at < pos && at < text.size()) {
        at += CharLength(text, at);
    }
    return at == pos;
}

std::string_view CutAtCharBoundary(std::string_view text, std::size_t maxBytes) {
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t next = at + CharLength(text, at);
        if (next > maxBytes) {
            break;
        }
        at = next;
    }
    return text.substr(0, at);
}

}  // namespace ek::cp932
