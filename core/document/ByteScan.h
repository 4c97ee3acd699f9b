// Block-wide byte classification for the mailbox reader: where the line feeds and the
// text-end bytes of up to 64 bytes lie, as bit masks, so that a line costs a bit scan
// instead of a search of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ek {

constexpr std::size_t kScanWidth = 64;

struct ByteMasks {
    std::uint64_t lineFeeds = 0;  // bit k: p[k] is LF
    std::uint64_t textEnds = 0;   // bit k: p[k] is 0x1A
};

namespace detail {

inline ByteMasks ScanTail(const char* p, std::size_t count) {
    ByteMasks masks;
    for (std::size_t k = 0; k < count; ++k) {
        masks.lineFeeds |= std::uint64_t{p[k] == '\n'} << k;
        masks.textEnds |= std::uint64_t{p[k] == '\x1a'} << k;
    }
    return masks;
}

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;

// 0x80 in each byte of `x` that is zero, and nothing else (exact for every byte).
constexpr std::uint64_t ZeroBytes(std::uint64_t x) {
    return ~(((x & ~(kOnes * 0x80)) + ~(kOnes * 0x80)) | x | ~(kOnes * 0x80)) & (kOnes * 0x80);
}

// One bit per byte of an 8-byte word whose high bits mark the bytes wanted.
constexpr std::uint64_t GatherHighBits(std::uint64_t high) {
    return ((high >> 7) * 0x0102040810204080ULL) >> 56;
}

}  // namespace detail

// The masks of 64 bytes at `p` with plain 64-bit words, for processors without SSE2.
inline ByteMasks ScanWordsPortable(const char* p) {
    ByteMasks masks;
    for (int part = 0; part < 8; ++part) {
        std::uint64_t word;
        std::memcpy(&word, p + 8 * part, sizeof word);
        const std::uint64_t lines = detail::ZeroBytes(word ^ (detail::kOnes * '\n'));
        const std::uint64_t ends = detail::ZeroBytes(word ^ (detail::kOnes * 0x1A));
        masks.lineFeeds |= detail::GatherHighBits(lines) << (8 * part);
        masks.textEnds |= detail::GatherHighBits(ends) << (8 * part);
    }
    return masks;
}

// The masks of the `count` (at most 64) bytes at `p`; bits at and above `count` are 0.
inline ByteMasks ScanBytes(const char* p, std::size_t count) {
    if (count < kScanWidth) {
        return detail::ScanTail(p, count);
    }
#if defined(__SSE2__)
    ByteMasks masks;
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i end = _mm_set1_epi8('\x1a');
    for (int part = 0; part < 4; ++part) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
        const auto lines = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf)));
        const auto ends = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, end)));
        masks.lineFeeds |= std::uint64_t{lines} << (16 * part);
        masks.textEnds |= std::uint64_t{ends} << (16 * part);
    }
    return masks;
#else
    return ScanWordsPortable(p);
#endif
}

}  // namespace ek
