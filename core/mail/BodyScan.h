// The body the decoded view shows, found by reading the header and the boundary lines
// instead of building the MIME parser's object model, where the structure is simple
// enough that both must agree: a one-part text, or a multipart whose first part (at
// any depth) is a plain text. Anything else is left to the parser.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ek::mail {

// The MIME fields of a header that the scan reads.
struct ContentFields {
    std::string type;      // the last Content-Type value, continuation lines joined
    std::string transfer;  // the last Content-Transfer-Encoding value
    int types = 0;
    int transfers = 0;
    // Another Content- field than those and a description, a language or an id: a
    // disposition, a length, a location.
    bool otherContent = false;
    std::size_t bodyStart = 0;  // the offset just after the empty line that ends the header
};

// Reads the header at the start of `mime`; false where it is no plain list of fields
// closed by an empty line.
bool ReadContentFields(std::string_view mime, ContentFields& fields);

// The charset of a Content-Type that is "text/plain" with at most a simple charset
// parameter ("text/plain; charset=X" or "charset=\"X\""); false for anything else.
bool PlainTextCharset(std::string_view value, std::string& charset);

// True for an absent transfer encoding's stand-ins: "7bit" and "8bit".
bool IsIdentityEncoding(std::string_view value);

// The stored bytes of a shown text part and its charset.
struct ScannedText {
    std::string_view bytes;
    std::string charset;
};

// The text shown for a stored message (MessageLines) that is one plain text part;
// false where the parser must decide.
bool ScanPlainText(std::string_view messageText, ScannedText& text);

// The same, or the first part of a multipart (mixed, alternative, related or report)
// where that is a plain text, in nested multiparts too.
bool ScanShownText(std::string_view messageText, ScannedText& text);

}  // namespace ek::mail
