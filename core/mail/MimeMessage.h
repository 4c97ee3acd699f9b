// A stored message read the way a mail client reads it: decoded header lines, the
// body a reader is shown and the attachments beside it. Decoded text is UTF-8.
// Nothing here fails: what cannot be decoded is shown as far as it goes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ek::mail {

struct Attachment {
    int part = 0;            // leaf number, from 1, in tree order
    std::string filename;    // UTF-8; from the filename or name parameter, else made up
    bool named = false;      // the message gave the name
    std::string type;        // lower case, "image/jpeg"
    std::uint64_t size = 0;  // decoded bytes
};

enum class DecodeStatus {
    Ok,
    // The MIME structure could not be read; the body is the stored text after the header.
    Unstructured,
};

struct DecodedMessage {
    DecodeStatus status = DecodeStatus::Ok;
    // "Name: value\n" with encoded words decoded and folded lines joined, stored order.
    std::vector<std::string> headerLines;
    // The text shown: lines ending in LF (the last one too, unless it is empty).
    std::string body;
    int bodyPart = 0;  // leaf number of the body, 0 when no part is shown
    bool bodyFromHtml = false;
    std::vector<Attachment> attachments;
};

// `messageText` is the message's stored lines (CEKViewDoc::MessageLines), each ending
// in LF; `messageIndex` names the made-up file names.
DecodedMessage DecodeMessage(std::string_view messageText, int messageIndex);

// The body DecodeMessage gives, without decoding the header or the attachments.
std::string DecodeBody(std::string_view messageText);

// `text` with CR LF line ends as LF and a last line ending in LF, as a body is shown.
std::string WithLfEnds(std::string text);

// The decoded bytes of leaf `part` (from 1); false when the message has no such leaf.
bool ReadPartBytes(std::string_view messageText, int part, std::string& bytes);

}  // namespace ek::mail
