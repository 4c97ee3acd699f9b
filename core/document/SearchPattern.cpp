#include "core/document/SearchPattern.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/document/TextRules.h"
#include "core/platform/Cp932.h"

namespace ek::search {

namespace {

constexpr bool IsAsciiLetter(unsigned char b) {
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

// How often a byte turns up in Japanese mail, roughly: the anchor is the pattern's
// byte with the lowest figure, so that few candidates need a full comparison.
int Commonness(unsigned char b, bool folds) {
    if (folds) {
        // English letters by frequency, both cases counted.
        static constexpr const char* kByFrequency = "zqjxkvbpygfwmucldrhsnioate";
        const char* at = std::strchr(kByFrequency, AsciiLower(static_cast<char>(b)));
        return at != nullptr ? 40 + static_cast<int>(at - kByFrequency) * 2 : 60;
    }
    if (b == ' ') {
        return 100;
    }
    if (b >= 0x81 && b <= 0x83) {
        return 95;  // leads of punctuation, hiragana and katakana
    }
    if (b >= '0' && b <= '9') {
        return 50;
    }
    if (cp932::IsLeadByte(b)) {
        return 45;  // kanji leads
    }
    return 30;
}

#if !defined(__SSE2__)
constexpr std::uint64_t kOnes = 0x0101010101010101ULL;

// The 8 bytes at `p`, with bit 0x20 set where `fold` has it set.
inline std::uint64_t Load8(const char* p, std::uint64_t fold) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word | fold;
}

// A high bit in each byte of `x` that is zero, exact up to the lowest one.
constexpr std::uint64_t ZeroBytes(std::uint64_t x) {
    return (x - kOnes) & ~x & (kOnes * 0x80);
}
#endif

}  // namespace

SearchPattern::SearchPattern(std::string bytes, TextEncoding encoding)
    : m_bytes(std::move(bytes)), m_encoding(encoding) {
    m_folded = m_bytes;
    m_foldMask.assign(m_bytes.size(), 0);
    int rarest = 1000;
    int second = 1000;
    for (std::size_t i = 0; i < m_bytes.size();) {
        const auto b = static_cast<unsigned char>(m_bytes[i]);
        std::size_t length = 1;
        if (m_encoding == TextEncoding::Cp932) {
            length = cp932::CharLength(m_bytes, i);
        }
        // In CP932 only a letter that is a character of its own folds, never the
        // second byte of a double-byte character.
        const bool folds = length == 1 && IsAsciiLetter(b);
        for (std::size_t k = i; k < i + length; ++k) {
            const auto byte = static_cast<unsigned char>(m_bytes[k]);
            const bool byteFolds = folds && k == i;
            if (byteFolds) {
                m_folded[k] = AsciiLower(m_bytes[k]);
                m_foldMask[k] = 1;
            }
            const int score = Commonness(byte, byteFolds);
            if (score < rarest) {
                second = rarest;
                m_second = m_anchor;
                rarest = score;
                m_anchor = k;
            } else if (score < second) {
                second = score;
                m_second = k;
            }
        }
        i += length;
    }
    // A one-byte pattern tests its byte twice.
    if (second == 1000) {
        m_second = m_anchor;
    }
}

const char* SearchPattern::NextCandidate(const char* from, const char* lastStart) const {
    const char* p = from;
    const char want1 = m_folded[m_anchor];
    const char want2 = m_folded[m_second];
    const char fold1 = m_foldMask[m_anchor] != 0 ? 0x20 : 0;
    const char fold2 = m_foldMask[m_second] != 0 ? 0x20 : 0;
#if defined(__SSE2__)
    const __m128i wanted1 = _mm_set1_epi8(want1);
    const __m128i wanted2 = _mm_set1_epi8(want2);
    const __m128i folds1 = _mm_set1_epi8(fold1);
    const __m128i folds2 = _mm_set1_epi8(fold2);
    for (; lastStart - p >= 15; p += 16) {
        const __m128i at1 =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + m_anchor)), folds1);
        const __m128i at2 =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + m_second)), folds2);
        const int hits = _mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(at1, wanted1), _mm_cmpeq_epi8(at2, wanted2)));
        if (hits != 0) {
            return p + std::countr_zero(static_cast<unsigned>(hits));
        }
    }
#else
    const std::uint64_t wanted1 = kOnes * static_cast<unsigned char>(want1);
    const std::uint64_t wanted2 = kOnes * static_cast<unsigned char>(want2);
    const std::uint64_t folds1 = kOnes * static_cast<unsigned char>(fold1);
    const std::uint64_t folds2 = kOnes * static_cast<unsigned char>(fold2);
    for (; lastStart - p >= 7; p += 8) {
        // A byte is zero in the union exactly where both anchors match.
        const std::uint64_t differ =
            (Load8(p + m_anchor, folds1) ^ wanted1) | (Load8(p + m_second, folds2) ^ wanted2);
        if (ZeroBytes(differ) != 0) {
            break;  // the scalar loop below finds which byte
        }
    }
#endif
    for (; p <= lastStart; ++p) {
        if ((p[m_anchor] | fold1) == want1 && (p[m_second] | fold2) == want2) {
            return p;
        }
    }
    return nullptr;
}

bool SearchPattern::EqualAt(const char* at) const {
    const std::size_t size = m_bytes.size();
    for (std::size_t i = 0; i < size; ++i) {
        char c = at[i];
        if (m_foldMask[i] != 0) {
            c = AsciiLower(c);
        }
        if (c != m_folded[i]) {
            return false;
        }
    }
    return true;
}

// `knownBoundary` is a character boundary at or before `at`; it moves up to `at`
// (or just past it) so that later calls, always further on, scan little.
bool SearchPattern::StartsCharacter(const char* at, const char*& knownBoundary) const {
    // A byte that is no lead byte ends a character, so the run of lead bytes right
    // before `at` pairs up from its start: an odd run leaves a lead byte that takes
    // `at` as its second byte when `at` can be one.
    std::size_t leads = 0;
    for (const char* p = at;
         p > knownBoundary && cp932::IsLeadByte(static_cast<unsigned char>(p[-1])); --p) {
        ++leads;
    }
    const bool starts = leads % 2 == 0 || !cp932::IsTrailByte(static_cast<unsigned char>(*at));
    knownBoundary = starts ? at : at + 1;
    return starts;
}

bool SearchPattern::FoundIn(std::string_view text) const {
    const std::size_t size = m_bytes.size();
    if (size == 0 || text.size() < size) {
        return false;
    }
    const char* knownBoundary = text.data();
    const char* lastStart = text.data() + (text.size() - size);
    for (const char* from = text.data(); from <= lastStart;) {
        const char* start = NextCandidate(from, lastStart);
        if (start == nullptr) {
            return false;
        }
        if (EqualAt(start) &&
            (m_encoding != TextEncoding::Cp932 || StartsCharacter(start, knownBoundary))) {
            return true;
        }
        from = start + 1;
    }
    return false;
}

}  // namespace ek::search
