#include "core/views/FindText.h"

#include <algorithm>

namespace ek {

namespace {

// UTF-8 keeps every byte below 0x80 for ASCII alone: folding those bytes and
// comparing the rest byte by byte matches whole characters only, as `what` is
// itself whole characters.
unsigned char Fold(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

bool MatchesAt(std::string_view text, std::string_view what, std::size_t at) {
    for (std::size_t i = 0; i < what.size(); ++i) {
        if (Fold(text[at + i]) != Fold(what[i])) {
            return false;
        }
    }
    return true;
}

// The first match starting in [from, last], searching forwards.
std::optional<std::size_t> FirstIn(std::string_view text, std::string_view what, std::size_t from,
                                   std::size_t last) {
    for (std::size_t at = from; at <= last; ++at) {
        if (MatchesAt(text, what, at)) {
            return at;
        }
    }
    return std::nullopt;
}

// The last match starting in [first, before), searching backwards.
std::optional<std::size_t> LastIn(std::string_view text, std::string_view what, std::size_t first,
                                  std::size_t before) {
    for (std::size_t at = before; at > first; --at) {
        if (MatchesAt(text, what, at - 1)) {
            return at - 1;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<FoundText> FindNextText(std::string_view text, std::string_view what,
                                      std::size_t from) {
    if (what.empty() || what.size() > text.size()) {
        return std::nullopt;
    }
    const std::size_t last = text.size() - what.size();
    if (from <= last) {
        if (auto at = FirstIn(text, what, from, last)) {
            return FoundText{*at, *at + what.size(), false};
        }
    }
    // Past the end: the matches that start before `from`.
    const std::size_t wrapEnd = std::min(from, last + 1);
    if (wrapEnd > 0) {
        if (auto at = FirstIn(text, what, 0, wrapEnd - 1)) {
            return FoundText{*at, *at + what.size(), true};
        }
    }
    return std::nullopt;
}

std::optional<FoundText> FindPreviousText(std::string_view text, std::string_view what,
                                          std::size_t before) {
    if (what.empty() || what.size() > text.size()) {
        return std::nullopt;
    }
    const std::size_t last = text.size() - what.size();
    if (auto at = LastIn(text, what, 0, std::min(before, last + 1))) {
        return FoundText{*at, *at + what.size(), false};
    }
    if (auto at = LastIn(text, what, std::min(before, last + 1), last + 1)) {
        return FoundText{*at, *at + what.size(), true};
    }
    return std::nullopt;
}

}  // namespace ek
