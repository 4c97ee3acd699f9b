// Turning CP932 byte strings into UTF-8 output: safe for a terminal, or JSON.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ek::cli {

// UTF-8 text for a terminal: control characters become visible escapes (\t, \r,
// \x1b, ...), so that no mail can drive the terminal.
std::string TerminalText(std::string_view cp932);

// The same for text that is already UTF-8.
std::string TerminalUtf8Text(std::string_view utf8);

// Columns that TerminalText(cp932) takes on a terminal.
std::size_t TerminalColumns(std::string_view utf8);

// Pads (or cuts, ending with "…") UTF-8 terminal text to exactly `columns` columns.
std::string FitColumns(const std::string& utf8, std::size_t columns);

// Width of the widest message number of a mailbox of `count` messages.
int IndexWidth(int count);

// One terminal row of a message list: its number right-aligned, the date key,
// '+' for a multipart message, the sender fitted to `senderColumns`, then
// `subjectPrefix` and the subject (all CP932 bytes but the number; sender and subject
// UTF-8 when `utf8Fields`).
std::string TerminalRow(int index, int indexWidth, const std::vector<std::string>& fields,
                        bool multipart, std::size_t senderColumns,
                        std::string_view subjectPrefix = {}, bool utf8Fields = false);

// A JSON string literal, quotes included, of CP932 bytes decoded to Unicode.
std::string JsonString(std::string_view cp932);

// A JSON string literal of text that is already UTF-8.
std::string JsonUtf8String(std::string_view utf8);

// JsonUtf8String when `utf8`, else JsonString.
std::string JsonField(std::string_view text, bool utf8);

// The same literals appended to `out`, for output built in one buffer.
void AppendJsonString(std::string& out, std::string_view cp932);
void AppendJsonUtf8String(std::string& out, std::string_view utf8);
void AppendJsonField(std::string& out, std::string_view text, bool utf8);
void AppendDecimal(std::string& out, long long value);

// `,"date":…,"sender":…,"subject":…` of a list row's first three fields, sender and
// subject UTF-8 already when `decoded`: the same members in list, search and threads.
void AppendJsonRowFields(std::string& out, const std::vector<std::string>& fields, bool decoded);

}  // namespace ek::cli
