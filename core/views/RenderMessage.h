// One message as the text pane and `ekview-cli show` render it: the display lines
// (the short header or all header lines, then the body) cut to the first part with
// the attachment note, or the decoded lines of the MIME layer; the quote marks in
// the lines' coding; and the highlighting steps over the joined lines.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/document/EKViewDoc.h"
#include "core/views/Highlight.h"

namespace ek {

// The decoded display lines (UTF-8) of message `index` and whether the attachment
// note ends them; false without such a message. The MIME layer above provides it.
using DecodeMessageLines = std::function<bool(const CEKViewDoc& doc, int index, bool allHeaders,
                                              std::vector<std::string>& lines, bool& note)>;

struct RenderOptions {
    bool allHeaders = true;
    // The user's quote marks, UTF-8 as the profile keeps them.
    std::string_view quoteMarks;
    // Set for the decoded view; empty for the stored CP932 lines.
    DecodeMessageLines decode;
};

class RenderedMessage {
  public:
    RenderedMessage() = default;
    // The lines may view `m_decoded`, whose strings stay put when the vector moves.
    RenderedMessage(RenderedMessage&&) = default;
    RenderedMessage& operator=(RenderedMessage&&) = default;
    RenderedMessage(const RenderedMessage&) = delete;
    RenderedMessage& operator=(const RenderedMessage&) = delete;

    // CP932 for the stored lines, UTF-8 for the decoded ones.
    TextCoding coding = TextCoding::Cp932;
    // Each with its line feed but the note; views of the document's text (valid while
    // it holds the messages) or of the decoded lines kept here.
    std::vector<std::string_view> lines;
    // The last line is the attachment note.
    bool note = false;
    // The quote marks in the lines' coding.
    std::string quoteMarks;

    std::size_t TextSize() const;
    // The lines joined, with nothing between them.
    std::string Text() const;
    // Which spans of Text() get which attribute, in the order they apply.
    std::vector<HighlightStep> Steps() const;

  private:
    friend std::optional<RenderedMessage> RenderMessage(const CEKViewDoc&, int,
                                                        const RenderOptions&);
    std::vector<std::string> m_decoded;
};

// Message `index` rendered; nothing without such a message, or when the decoded
// view decodes nothing.
std::optional<RenderedMessage> RenderMessage(const CEKViewDoc& doc, int index,
                                             const RenderOptions& options);

}  // namespace ek
