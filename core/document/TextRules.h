// Byte-string helpers shared by the document's header rules.
#pragma once

#include <string_view>

namespace ek {

// The single-byte white space: space, tab, LF, VT, FF, CR.
constexpr bool IsSpaceByte(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

constexpr bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

constexpr std::string_view TrimLeftSpace(std::string_view text) {
    while (!text.empty() && IsSpaceByte(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

constexpr std::string_view TrimRightSpace(std::string_view text) {
    while (!text.empty() && IsSpaceByte(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

constexpr std::string_view TrimSpace(std::string_view text) {
    return TrimRightSpace(TrimLeftSpace(text));
}

// Orders keys byte by byte with ASCII letters folded to lower case; other bytes
// compare as unsigned values.
int CompareIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace ek
