// Turning CP932 byte strings into UTF-8 output: safe for a terminal, or JSON.
#pragma once

#include <string>
#include <string_view>

namespace ek::cli {

// UTF-8 text for a terminal: control characters become visible escapes (\t, \r,
// \x1b, ...), so that no mail can drive the terminal.
std::string TerminalText(std::string_view cp932);

// Columns that TerminalText(cp932) takes on a terminal.
std::size_t TerminalColumns(std::string_view utf8);

// Pads (or cuts, ending with "…") UTF-8 terminal text to exactly `columns` columns.
std::string FitColumns(const std::string& utf8, std::size_t columns);

// A JSON string literal, quotes included, of CP932 bytes decoded to Unicode.
std::string JsonString(std::string_view cp932);

// A JSON string literal of text that is already UTF-8.
std::string JsonUtf8String(std::string_view utf8);

}  // namespace ek::cli
