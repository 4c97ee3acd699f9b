#include "core/document/ByteScan.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

namespace ek::test {
namespace {

std::uint64_t PlainMask(const char* p, std::size_t count, char wanted) {
    std::uint64_t mask = 0;
    for (std::size_t k = 0; k < count; ++k) {
        mask |= std::uint64_t{p[k] == wanted} << k;
    }
    return mask;
}

ByteMasks PlainMasks(const char* p, std::size_t count) {
    ByteMasks masks;
    for (std::size_t k = 0; k < count; ++k) {
        if (p[k] == '\n') {
            masks.lineFeeds |= std::uint64_t{1} << k;
        }
        if (p[k] == '\x1a') {
            masks.textEnds |= std::uint64_t{1} << k;
        }
    }
    return masks;
}

std::string Hex(const char* p, std::size_t count) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t k = 0; k < count; ++k) {
        auto c = static_cast<unsigned char>(p[k]);
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
    }
    return out;
}

// Bytes next to the two wanted values, and bytes that carry or borrow in word
// arithmetic, in runs so that neighbours interact.
TEST(ByteScan, MasksEqualTheBytesForEveryCountAndBothPaths) {
    const unsigned char alphabet[] = {'\n', 0x1A, '\r', 0x0B, 0x09, 0x19, 0x1B, 0x00, 0x80,
                                      0x8A, 0x9A, 0xFF, 0x01, 'a',  0x7F, 'F',  '>'};
    const std::array<char, 3> exportBytes = {'\n', 'F', '>'};
    std::mt19937 random(3);
    char bytes[kScanWidth];
    for (int round = 0; round < 3000; ++round) {
        for (char& c : bytes) {
            c = static_cast<char>(alphabet[random() % sizeof alphabet]);
        }
        for (std::size_t count = 0; count <= kScanWidth; ++count) {
            SCOPED_TRACE("bytes " + Hex(bytes, count));
            const ByteMasks expected = PlainMasks(bytes, count);
            const ByteMasks got = ScanBytes(bytes, count);
            ASSERT_EQ(got.lineFeeds, expected.lineFeeds);
            ASSERT_EQ(got.textEnds, expected.textEnds);
            const ByteMatches<3> three = MatchBytes<'\n', 'F', '>'>(bytes, count);
            for (std::size_t i = 0; i < 3; ++i) {
                ASSERT_EQ(three[i], PlainMask(bytes, count, exportBytes[i])) << i;
            }
        }
        const ByteMasks portable = ScanWordsPortable(bytes);
        const ByteMasks expected = PlainMasks(bytes, kScanWidth);
        SCOPED_TRACE("bytes " + Hex(bytes, kScanWidth));
        ASSERT_EQ(portable.lineFeeds, expected.lineFeeds);
        ASSERT_EQ(portable.textEnds, expected.textEnds);
    }
}

}  // namespace
}  // namespace ek::test
