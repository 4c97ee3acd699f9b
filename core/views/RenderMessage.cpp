#include "core/views/RenderMessage.h"

#include "core/platform/Cp932Encode.h"
#include "core/views/FirstPart.h"

namespace ek {

std::size_t RenderedMessage::TextSize() const {
    std::size_t total = 0;
    for (std::string_view line : lines) {
        total += line.size();
    }
    return total;
}

std::string RenderedMessage::Text() const {
    std::string text;
    text.reserve(TextSize());
    for (std::string_view line : lines) {
        text += line;
    }
    return text;
}

std::vector<HighlightStep> RenderedMessage::Steps() const {
    return BuildHighlightStepsOfViews(lines, note, quoteMarks, coding);
}

std::optional<RenderedMessage> RenderMessage(const CEKViewDoc& doc, int index,
                                             const RenderOptions& options) {
    if (index < 0 || index >= doc.GetMessageCount()) {
        return std::nullopt;
    }
    RenderedMessage message;
    if (options.decode) {
        if (!options.decode(doc, index, options.allHeaders, message.m_decoded, message.note)) {
            return std::nullopt;
        }
        message.coding = TextCoding::Utf8;
        message.lines.assign(message.m_decoded.begin(), message.m_decoded.end());
        message.quoteMarks = options.quoteMarks;
        return message;
    }
    doc.GetMessageLineViews(index, message.lines, options.allHeaders);
    const std::string delimiter = doc.GetBoundary(index);
    message.note = !delimiter.empty() && CutToFirstPart(message.lines, delimiter);
    message.quoteMarks = cp932::FromUtf8(options.quoteMarks);
    return message;
}

}  // namespace ek
