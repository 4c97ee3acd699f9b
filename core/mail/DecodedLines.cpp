#include "core/mail/DecodedLines.h"

#include <array>

namespace ek::mail {

namespace {

// The short header's kinds, as in the stored view: letter case counts.
constexpr std::array<std::string_view, 4> kShortHeaderPrefixes = {
    "Date: ", "From: ", "Subject: ", "To: "};

bool IsShortHeaderLine(std::string_view line) {
    for (std::string_view prefix : kShortHeaderPrefixes) {
        if (line.starts_with(prefix)) {
            return true;
        }
    }
    return false;
}

}  // namespace

DecodedLines BuildDecodedLines(const DecodedMessage& message, bool showAll) {
    DecodedLines out;
    for (const std::string& line : message.headerLines) {
        if (showAll || IsShortHeaderLine(line)) {
            out.lines.push_back(line);
        }
    }
    out.lines.emplace_back("\n");
    std::string_view body = message.body;
    while (!body.empty()) {
        const std::size_t lf = body.find('\n');
        const std::size_t length = lf == std::string_view::npos ? body.size() : lf + 1;
        out.lines.emplace_back(body.substr(0, length));
        body.remove_prefix(length);
    }
    if (!out.lines.back().ends_with('\n')) {
        out.lines.back() += '\n';
    }
    if (!message.attachments.empty()) {
        out.lines.emplace_back(kAttachmentNoteUtf8);
        out.note = true;
    }
    return out;
}

}  // namespace ek::mail
