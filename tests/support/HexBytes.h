// Bytes as hex pairs for the trace of a failing case ("82 A0"), since the bytes
// themselves may be unprintable or half a character.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace ek::test {

inline std::string HexBytes(std::string_view bytes) {
    std::string out;
    for (unsigned char b : bytes) {
        char buf[4];
        std::snprintf(buf, sizeof buf, "%02X ", b);
        out += buf;
    }
    return out.empty() ? "(empty)" : out.substr(0, out.size() - 1);
}

}  // namespace ek::test
