#include "document/SearchPattern.h"

#include <cstdint>
#include <cstring>

#include "document/TextRules.h"
#include "platform/Cp932.h"

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

// Bytes of the 8 at `p` whose value, with bit 0x20 set, equals `lower`: for a
// lower-case letter exactly its two cases.
inline std::uint64_t CaseBlindHits(const char* p, std::uint64_t lowerEverywhere) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    std::uint64_t x = (word | (kOnes * 0x20)) ^ lowerEverywhere;
    return (x - kOnes) & ~x & kHighs;
}

}  // namespace

SearchPattern::SearchPattern(std::string bytes, TextEncoding encoding)
    : m_bytes(std::move(bytes)), m_encoding(encoding) {
    m_folded = m_bytes;
    m_foldMask.assign(m_bytes.size(), 0);
    int rarest = 1000;
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
            const bool kFolds = folds && k == i;
            if (kFolds) {
                m_folded[k] = AsciiLower(m_bytes[k]);
                m_foldMask[k] = 1;
            }
            int score = Commonness(byte, kFolds);
            if (score < rarest) {
                rarest = score;
                m_anchor = k;
                m_anchorFolds = kFolds;
            }
        }
        i += length;
    }
}

const char* SearchPattern::FindAnchor(const char* from, const char* end) const {
    const char wanted = m_folded[m_anchor];
    if (!m_anchorFolds) {
        return static_cast<const char*>(
            std::memchr(from, wanted, static_cast<std::size_t>(end - from)));
    }
    const std::uint64_t lowerEverywhere =
        0x0101010101010101ULL * static_cast<unsigned char>(wanted);
    const char* p = from;
    for (; end - p >= 8; p += 8) {
        if (std::uint64_t hits = CaseBlindHits(p, lowerEverywhere); hits != 0) {
            // The lowest flagged byte is a true hit: borrows only run upwards.
            for (int k = 0; k < 8; ++k) {
                if ((static_cast<unsigned char>(p[k]) | 0x20) ==
                    static_cast<unsigned char>(wanted)) {
                    return p + k;
                }
            }
        }
    }
    for (; p < end; ++p) {
        if ((static_cast<unsigned char>(*p) | 0x20) == static_cast<unsigned char>(wanted)) {
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
    const char* base = text.data();
    const char* knownBoundary = base;
    const char* scan = base + m_anchor;
    const char* scanEnd = base + (text.size() - size) + m_anchor + 1;
    while (scan < scanEnd) {
        const char* hit = FindAnchor(scan, scanEnd);
        if (hit == nullptr) {
            return false;
        }
        const char* start = hit - m_anchor;
        if (EqualAt(start) &&
            (m_encoding != TextEncoding::Cp932 || StartsCharacter(start, knownBoundary))) {
            return true;
        }
        scan = hit + 1;
    }
    return false;
}

}  // namespace ek::search
