// The text pane's display of a message, apart from the control: the decoded text
// and its style runs moved from CP932 byte positions to character positions, so
// that every colour lands on the characters the highlighting rules name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/views/StyleRuns.h"

namespace ek {

struct ContentDisplay {
    std::wstring text;
    // In character positions of `text`, ascending, none empty.
    std::vector<StyleRun> runs;
};

// `joined` is JoinLines(lines); the quote marks are in CP932, like the mail text.
// A NUL byte shows as U+FFFD: the control would end the text there.
ContentDisplay PrepareContentDisplay(const std::vector<std::string>& lines, std::string_view joined,
                                     bool lastLineIsNote, std::string_view quoteMarks);

// The same display of decoded lines: `lines` and `quoteMarks` are UTF-8, and the
// highlighting rules search them on UTF-8 character boundaries. Malformed UTF-8 and
// NUL show as U+FFFD.
ContentDisplay PrepareDecodedContentDisplay(const std::vector<std::string>& lines,
                                            std::string_view joined, bool lastLineIsNote,
                                            std::string_view quoteMarks);

// Length (1 to 4) and code point of the UTF-8 sequence at `pos` (< bytes.size()); a
// malformed one is a single byte standing for U+FFFD, and so is NUL.
std::size_t DecodeUtf8At(std::string_view bytes, std::size_t pos, char32_t& cp);

// The text height kept for a size chosen in the font dialog: whole points, in twips
// (10.5 points give 200).
int ChosenSizeToTwips(int tenthsOfPoint);

}  // namespace ek
