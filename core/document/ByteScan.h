// Block-wide byte classification: where chosen byte values lie among up to 64 bytes,
// as bit masks, so that a line or a marker costs a bit scan instead of a search of its own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ek {

constexpr std::size_t kScanWidth = 64;

// One mask per wanted byte value: bit k of masks[i] is set when p[k] is the i-th value.
template <std::size_t N>
using ByteMatches = std::array<std::uint64_t, N>;

namespace detail {

template <char... Wanted>
ByteMatches<sizeof...(Wanted)> MatchTail(const char* p, std::size_t count) {
    ByteMatches<sizeof...(Wanted)> masks{};
    for (std::size_t k = 0; k < count; ++k) {
        std::size_t i = 0;
        ((masks[i++] |= std::uint64_t{p[k] == Wanted} << k), ...);
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

template <char Wanted>
std::uint64_t WordMatches(std::uint64_t word) {
    return GatherHighBits(ZeroBytes(word ^ (kOnes * static_cast<unsigned char>(Wanted))));
}

}  // namespace detail

// The masks of 64 bytes at `p` with plain 64-bit words, for processors without SSE2.
// The wanted bytes are template arguments so that every mask stays in a register.
template <char... Wanted>
ByteMatches<sizeof...(Wanted)> MatchWordsPortable(const char* p) {
    ByteMatches<sizeof...(Wanted)> masks{};
    for (int part = 0; part < 8; ++part) {
        std::uint64_t word;
        std::memcpy(&word, p + 8 * part, sizeof word);
        std::size_t i = 0;
        ((masks[i++] |= detail::WordMatches<Wanted>(word) << (8 * part)), ...);
    }
    return masks;
}

// The masks of the `count` (at most 64) bytes at `p`; bits at and above `count` are 0.
template <char... Wanted>
ByteMatches<sizeof...(Wanted)> MatchBytes(const char* p, std::size_t count) {
    if (count < kScanWidth) {
        return detail::MatchTail<Wanted...>(p, count);
    }
#if defined(__SSE2__)
    ByteMatches<sizeof...(Wanted)> masks{};
    for (int part = 0; part < 4; ++part) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
        std::size_t i = 0;
        ((masks[i++] |= std::uint64_t{static_cast<std::uint32_t>(
                            _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(Wanted))))}
                        << (16 * part)),
         ...);
    }
    return masks;
#else
    return MatchWordsPortable<Wanted...>(p);
#endif
}

// What the mailbox reader looks for.
struct ByteMasks {
    std::uint64_t lineFeeds = 0;  // bit k: p[k] is LF
    std::uint64_t textEnds = 0;   // bit k: p[k] is 0x1A
};

inline ByteMasks ScanBytes(const char* p, std::size_t count) {
    const ByteMatches<2> masks = MatchBytes<'\n', '\x1a'>(p, count);
    return {masks[0], masks[1]};
}

inline ByteMasks ScanWordsPortable(const char* p) {
    const ByteMatches<2> masks = MatchWordsPortable<'\n', '\x1a'>(p);
    return {masks[0], masks[1]};
}

}  // namespace ek
