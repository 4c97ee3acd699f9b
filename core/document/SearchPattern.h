// One search term as bytes of the searched text's encoding, and the fast test
// whether a piece of text contains it: ASCII letters match either case, every
// other byte exactly, and in CP932 text a match never starts at the second byte
// of a double-byte character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ek::search {

enum class TextEncoding {
    Cp932,  // the stored lines as read
    Utf8,   // decoded text
};

class SearchPattern {
  public:
    // `bytes` must be whole characters of `encoding` and must not be empty.
    SearchPattern(std::string bytes, TextEncoding encoding);

    // True when `text` holds the pattern starting on a character boundary (the
    // start of `text` is one).
    bool FoundIn(std::string_view text) const;

    const std::string& bytes() const { return m_bytes; }

  private:
    // The first start at or after `from` (up to `lastStart`) where both anchor bytes
    // match; nullptr when there is none.
    const char* NextCandidate(const char* from, const char* lastStart) const;
    bool EqualAt(const char* at) const;
    bool StartsCharacter(const char* at, const char*& knownBoundary) const;

    std::string m_bytes;
    // The bytes with each case-blind letter in lower case, and 1 where a byte is one.
    std::string m_folded;
    std::string m_foldMask;
    TextEncoding m_encoding;
    // The two bytes that candidate positions are found by: the rarest in ordinary
    // mail (the same one twice in a one-byte pattern).
    std::size_t m_anchor = 0;
    std::size_t m_second = 0;
};

}  // namespace ek::search
