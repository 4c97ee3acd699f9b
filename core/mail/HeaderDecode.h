// Header values as a reader sees them: folded lines joined, encoded words (RFC 2047)
// decoded by their charset, raw 8-bit text read as CP932, the mailbox's code page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ek::mail {

struct HeaderField {
    std::string name;      // as stored, without the colon
    std::string rawValue;  // as stored, folded lines joined, leading blanks dropped
};

// The message after the "From - " line and the status line that open it when stored.
std::string_view WithoutEnvelope(std::string_view messageText);

// The header fields of a message's stored lines (each ending in LF), up to the blank
// line, the stored message's opening lines skipped.
std::vector<HeaderField> SplitHeader(std::string_view messageText);

// An unstructured value decoded to UTF-8; control characters (line ends, NUL, ESC, ...)
// become spaces so that a value stays one line.
std::string DecodeHeaderText(std::string_view rawValue);

// The name a list shows for a From value: the display name of its first address, else
// that address; the decoded text itself when no address can be read from it.
std::string DecodeSenderName(std::string_view rawFromValue);

// The sender name and subject the lists show, decoded; from the first From and
// Subject fields (names in any letter case), empty where there is none.
struct ListFields {
    std::string sender;
    std::string subject;
};
ListFields DecodeListFields(std::string_view messageText);

}  // namespace ek::mail
