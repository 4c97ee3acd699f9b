// Encoding Unicode to CP932 bytes, for text the user types that must match mail text.
//
// Where several CP932 codes decode to one code point, the code is the one glibc's iconv
// "CP932" writes, and glibc's one-way mappings apply too (U+00A5 to 0x5C, U+203E to 0x7E,
// U+2212 to 0x817C, ...). A character CP932 cannot hold becomes "?" and one invalid UTF-8
// byte, or one lone surrogate, becomes one "?"; a whole string never fails. The tag
// characters U+E0000-U+E007F are dropped, as glibc drops them.
#pragma once

#include <string>
#include <string_view>

namespace ek::cp932 {

// Appends the CP932 form of `codePoint` (one or two bytes, none for a tag character) and
// returns true; returns false and appends nothing when CP932 has no form for it.
bool EncodeChar(char32_t codePoint, std::string& out);

// `*lossless` (when given) is set to false if any "?" stood in for a character or an
// invalid sequence, else to true.
std::string FromUtf8(std::string_view utf8, bool* lossless = nullptr);

// wchar_t is UTF-32 on Linux and UTF-16 on Windows; a high surrogate followed by a low one
// is read as one character on both.
std::string FromWide(std::wstring_view text, bool* lossless = nullptr);

}  // namespace ek::cp932
