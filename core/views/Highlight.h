// Which spans of a shown message get which attribute: web and mail addresses,
// quoted lines, the attachment note and header names. Positions count bytes of the
// joined display lines, a line feed being one position.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ek {

enum class HighlightKind { Url, Mail, Quote, Note, Bold };

// How the lines are written: the mailbox's CP932 bytes, or decoded UTF-8 text. Marker
// searches start only on character boundaries of that coding.
enum class TextCoding { Cp932, Utf8 };

// [start, end) in the joined text; every kind but Bold is a colour.
struct HighlightStep {
    std::size_t start = 0;
    std::size_t end = 0;
    HighlightKind kind = HighlightKind::Url;

    bool operator==(const HighlightStep&) const = default;
};

// The quote marks of a marks text: white space trimmed at both ends, then split at
// each space, the white space after it dropped. Marks keep their order and repeats
// and are never empty; a tab inside a mark stays.
std::vector<std::string> SplitQuoteMarks(std::string_view quoteMarks);

// The steps in the order they are applied: web then mail address of each body line,
// quoted lines, the note line (when `lastLineIsNote`), bold header names.
// `quoteMarks` is in the lines' coding.
std::vector<HighlightStep> BuildHighlightSteps(const std::vector<std::string>& lines,
                                               bool lastLineIsNote, std::string_view quoteMarks,
                                               TextCoding coding = TextCoding::Cp932);
// The same steps for lines that view the text they stand for.
std::vector<HighlightStep> BuildHighlightStepsOfViews(const std::vector<std::string_view>& lines,
                                                      bool lastLineIsNote,
                                                      std::string_view quoteMarks,
                                                      TextCoding coding = TextCoding::Cp932);

// Where a line stands: its first position in the joined text, whether it is a body
// line (at or after the blank line that ends the header), whether it is the note.
struct LinePlace {
    std::size_t start = 0;
    bool inBody = false;
    bool isNote = false;
};

// The steps BuildHighlightSteps gives for this one line, in the order they apply to
// it. Steps never reach past their line, so styling line by line gives what the
// whole message gives. `marks` are SplitQuoteMarks' result.
void AppendLineSteps(std::string_view line, const LinePlace& place,
                     const std::vector<std::string>& marks, TextCoding coding,
                     std::vector<HighlightStep>& steps);

}  // namespace ek
