// Header mistakes that real mailers make, repaired on the message's bytes before GMime
// reads them, so that the structure a reader expects is found. Nothing here parses
// MIME: it finds where a header ends and which lines belong to which field.
#pragma once

#include <string>
#include <string_view>

namespace ek::mail {

// The message's header (without the envelope lines) as a reader takes it, without the
// line that ends it. The header ends at the first empty line; at a line of blanks
// that text, not a field, follows; or, where no empty line comes before the message's
// own boundary, at the first line that is no field. An unindented parameter line
// (`boundary="..."`) after a Content-Type or Content-Disposition value that ends in
// `;` continues that field. `storage` holds the text where it differs from `mime`.
std::string_view ReaderHeader(std::string_view mime, std::string& storage);

// Where the body begins: after the line that ends the header as ReaderHeader takes it.
std::size_t BodyOffset(std::string_view mime);

// The whole message as GMime should read it: the header as ReaderHeader takes it,
// then an empty line, then the body; a repeated Content-Type field is dropped (the
// first whose type has a subtype counts, as in RFC 5322 readers), and parameter lines
// in the header of a part are continuations as above. `mime` itself where nothing
// needs repair, else the repaired text kept in `storage`.
std::string_view RepairedMessage(std::string_view mime, std::string& storage);

}  // namespace ek::mail
