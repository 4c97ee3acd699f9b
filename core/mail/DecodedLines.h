// The decoded view of a message as display lines, like the stored view's: the header
// (short or full), the blank line, the body shown, and the attachment note when the
// message has further parts. Lines are UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/mail/MimeMessage.h"

namespace ek::mail {

// "(添付ファイルがあります)" in UTF-8, the note's text in the decoded view.
inline constexpr std::string_view kAttachmentNoteUtf8 =
    "(\xE6\xB7\xBB\xE4\xBB\x98\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE3\x81\x8C"
    "\xE3\x81\x82\xE3\x82\x8A\xE3\x81\xBE\xE3\x81\x99)";

struct DecodedLines {
    std::vector<std::string> lines;  // each ends in LF but the note
    bool note = false;               // the last line is the attachment note
};

// `showAll` keeps every header line, else those the short header shows.
DecodedLines BuildDecodedLines(const DecodedMessage& message, bool showAll);

}  // namespace ek::mail
