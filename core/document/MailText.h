// The stored text of a mailbox: every line that belongs to a message, each followed
// by exactly one LF, held in one block; a message is a contiguous range of it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace ek {

// The header prefixes the views ask about. While reading, the reader notes where the
// first line of each message that begins with each of them stands, so that a lookup
// need not walk a long body to find that a header is absent.
inline constexpr std::array<std::string_view, 6> kIndexedPrefixes = {
    "Date: ", "From: ", "Subject: ", "Message-Id: ", "In-Reply-To: ", "Content-Type: "};
inline constexpr std::size_t kDateSlot = 0;
inline constexpr std::size_t kContentTypeSlot = 5;
// A message-start line: "From - " and the 24 characters of the date.
inline constexpr std::size_t kStartLineLength = 31;

// No line of the message begins with the prefix.
inline constexpr std::uint32_t kPrefixAbsent = 0xFFFFFFFF;
// The line lies too far into a huge message to be noted: look it up by walking.
inline constexpr std::uint32_t kPrefixUnknown = 0xFFFFFFFE;

// Where a message's lines lie in the mailbox text.
struct MessageSpan {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    // For each indexed prefix, the offset in the message of its first line.
    std::array<std::uint32_t, kIndexedPrefixes.size()> firstLine{};
    // The offset of the first empty line, which ends the header (or one of the two
    // marks above).
    std::uint32_t headerEnd = 0;
    // Some line after the message-start line matches ^>*From (the lines an mbox file
    // must quote), noted while reading so that an export need not search the text.
    bool fromLines = false;
};

// True for a line that an mbox file must quote: ^>*From followed by a blank.
constexpr bool IsMboxFromLine(std::string_view line) {
    const std::size_t marks = line.find_first_not_of('>');
    return marks != std::string_view::npos && line.substr(marks, 5) == "From ";
}

// The lines of a message, each a view of its text and its final LF.
class LineRange {
  public:
    class iterator {
      public:
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        iterator() = default;
        iterator(const char* at, const char* end) : m_at(at), m_end(end) { Settle(); }
        std::string_view operator*() const { return {m_at, m_length}; }
        iterator& operator++() {
            m_at += m_length;
            Settle();
            return *this;
        }
        iterator operator++(int) {
            iterator old = *this;
            ++*this;
            return old;
        }
        bool operator==(const iterator& other) const { return m_at == other.m_at; }

      private:
        void Settle();
        const char* m_at = nullptr;
        const char* m_end = nullptr;
        std::size_t m_length = 0;
    };

    LineRange() = default;
    explicit LineRange(std::string_view text) : m_text(text) {}
    iterator begin() const { return {m_text.data(), m_text.data() + m_text.size()}; }
    iterator end() const { return {m_text.data() + m_text.size(), m_text.data() + m_text.size()}; }
    std::string_view text() const { return m_text; }

  private:
    std::string_view m_text;
};

}  // namespace ek
