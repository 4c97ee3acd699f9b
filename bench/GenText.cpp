#include "GenText.h"

namespace ek::gen {
namespace {

constexpr std::string_view kBase64 =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"sv;
constexpr std::string_view kHex = "0123456789ABCDEF"sv;

}  // namespace

void PutUint(std::string& out, std::uint64_t v, int width) {
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    while (n < width) {
        digits[n++] = '0';
    }
    while (n > 0) {
        out.push_back(digits[--n]);
    }
}

void PutHex(std::string& out, std::uint64_t v, int digits) {
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        out.push_back(kHex[(v >> shift) & 0xF]);
    }
}

void PutBase64(std::string& out, Rng& rng, std::size_t count) {
    while (count > 0) {
        std::uint64_t bits = rng.Next();
        for (int k = 0; k < 10 && count > 0; ++k, --count, bits >>= 6) {
            out.push_back(kBase64[bits & 63]);
        }
    }
}

void PutStartDate(std::string& out, std::int64_t t) {
    const CivilTime c = ToCivil(t);
    out.append(kWeekdays[c.weekday]).append(" "sv).append(kMonths[c.month - 1]);
    out.push_back(' ');
    PutUint(out, c.day, 2);
    out.push_back(' ');
    PutUint(out, c.hour, 2);
    out.push_back(':');
    PutUint(out, c.minute, 2);
    out.push_back(':');
    PutUint(out, c.second, 2);
    out.push_back(' ');
    PutUint(out, c.year, 4);
}

}  // namespace ek::gen
