// File names for attachments: the name a part has made safe to create in a folder the
// user chose, or a name made from the message, the part and its type.
#pragma once

#include <string>
#include <string_view>

namespace ek::mail {

// Longest safe name, in bytes of UTF-8.
inline constexpr std::size_t kMaxFileNameBytes = 200;

// "message12-part3.jpg": a name for a part that has none.
std::string MadeUpName(int messageIndex, int part, std::string_view type);

// The last path element of `name` (UTF-8), with control characters and the characters
// Windows forbids replaced by '_', no leading or trailing dots and blanks, a '_' before
// a name Windows reserves (CON, NUL, COM1, ...), cut on a character boundary to
// kMaxFileNameBytes keeping the extension; `fallback` when nothing is left.
std::string SafeFileName(std::string_view name, std::string_view fallback);

// `name` with " (n)" before its extension: "a.txt" and 2 give "a (2).txt".
std::string NumberedName(std::string_view name, int n);

}  // namespace ek::mail
