// The text pane's message as the control holds it, built in one pass over the lines:
// the UTF-8 text for the control, and what styling needs (the lines as written, where
// each starts, where the header ends). The styles of a stretch are computed from the
// lines it covers when the control paints it, so showing a message costs a copy of
// its text, and styling costs what the screen shows.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/views/ContentStyles.h"
#include "core/views/Highlight.h"

namespace ek {

class ContentText {
  public:
    // An empty message.
    ContentText();

    // Starts a message written in `coding`, of about `sourceBytes` bytes in all and
    // about `lineCount` lines.
    void Begin(TextCoding coding, std::size_t sourceBytes, std::size_t lineCount = 0);
    // Appends the next display line, its line feed included.
    void AppendLine(std::string_view line);
    // Ends the lines: whether the last is the attachment note, and the quote marks
    // in the lines' coding.
    void Finish(bool lastLineIsNote, std::string_view quoteMarks);

    // The text for the control: CP932 decoded, or UTF-8 checked, with NUL and what
    // cannot be decoded as U+FFFD. Kept until ReleaseShown (then empty) or Begin.
    std::string_view Shown() const { return {m_shown.get(), m_shownSize}; }
    void ReleaseShown();

    // The styles of [from, to) of the shown text, exactly as the whole message's style
    // runs give them: spans without gap, in order, style 0 where no run lies, adjacent
    // spans of one style merged. Positions past the text are plain.
    std::vector<StyleSpan> StylesInRange(std::size_t from, std::size_t to) const;

  private:
    std::string_view Line(std::size_t index) const;
    std::size_t ShownLength(std::string_view line) const;
    // Adds line `index`'s spans inside [from, to); returns its shown length.
    std::size_t AddLineStyles(std::size_t index, std::size_t shownStart, std::size_t from,
                              std::size_t to, std::vector<StyleSpan>& spans) const;

    TextCoding m_coding = TextCoding::Cp932;
    // The lines joined, as written.
    std::string m_source;
    // Where each line starts in m_source, and its end.
    std::vector<std::size_t> m_lineStarts{0};
    // Where every kStride-th line starts in the shown text.
    std::vector<std::size_t> m_shownStarts;
    std::size_t m_headerEnd = 0;
    bool m_note = false;
    std::vector<std::string> m_marks;

    std::unique_ptr<char[]> m_shown;
    std::size_t m_shownSize = 0;
    std::size_t m_shownCapacity = 0;
};

}  // namespace ek
