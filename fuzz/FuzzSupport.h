// What every fuzz target shares: an invariant check that aborts, so that libFuzzer
// records the input, and the plain line splitting the targets build their inputs with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace ek::fuzz {

[[noreturn]] inline void Fail(const char* file, int line, const char* condition) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::abort();
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The text cut after each LF; every piece keeps its LF, the last one may have none.
inline std::vector<std::string> SplitAfterLf(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        std::size_t lf = text.find('\n');
        std::size_t length = lf == std::string_view::npos ? text.size() : lf + 1;
        lines.emplace_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    return lines;
}

// A stored or display line: its text and exactly one LF, at the end.
inline bool IsStoredLine(std::string_view line) {
    return !line.empty() && line.find('\n') == line.size() - 1;
}

}  // namespace ek::fuzz

#define EK_FUZZ_CHECK(condition)                              \
    do {                                                      \
        if (!(condition)) {                                   \
            ::ek::fuzz::Fail(__FILE__, __LINE__, #condition); \
        }                                                     \
    } while (false)
