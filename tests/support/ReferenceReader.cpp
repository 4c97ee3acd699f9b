#include "tests/support/ReferenceReader.h"

#include "core/document/EKViewDoc.h"

namespace ek::test {

std::vector<std::string> ReferenceLines(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\x1a'));
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t lf = bytes.find('\n', at);
        std::string line(bytes.substr(at, lf == std::string_view::npos ? lf : lf - at));
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        at = lf == std::string_view::npos ? bytes.size() : lf + 1;
    }
    return lines;
}

ReferenceMessages ReferenceRead(std::string_view bytes) {
    const std::vector<std::string> lines = ReferenceLines(bytes);
    ReferenceMessages messages;
    bool open = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (CEKViewDoc::IsMessageStart(lines[i])) {
            if (i + 1 == lines.size()) {
                if (open) {
                    messages.back().push_back(lines[i] + "\n");
                }
                break;
            }
            if (CEKViewDoc::IsStatusLine(lines[i + 1])) {
                messages.emplace_back();
                open = true;
            }
            if (open) {
                messages.back().push_back(lines[i] + "\n");
                messages.back().push_back(lines[i + 1] + "\n");
            }
            ++i;
        } else if (open) {
            messages.back().push_back(lines[i] + "\n");
        }
    }
    return messages;
}

}  // namespace ek::test
