#include "views/ContentFormat.h"

#include <algorithm>

#include "platform/Cp932Decode.h"
#include "views/Highlight.h"

namespace ek {

ContentDisplay PrepareContentDisplay(const std::vector<std::string>& lines, std::string_view joined,
                                     bool lastLineIsNote, std::string_view quoteMarks) {
    cp932::DecodedText decoded = cp932::DecodeWithPositions(joined);
    std::replace(decoded.text.begin(), decoded.text.end(), L'\0',
                 static_cast<wchar_t>(cp932::kReplacementChar));

    ContentDisplay display;
    display.text = std::move(decoded.text);
    const std::vector<std::size_t>& charPos = decoded.charPos;
    std::vector<StyleRun> runs =
        ResolveStyleRuns(BuildHighlightSteps(lines, lastLineIsNote, quoteMarks), joined.size());
    display.runs.reserve(runs.size());
    for (const StyleRun& run : runs) {
        // A span that starts on the second byte of a character takes the whole
        // character; one that ends inside a character stops before it.
        StyleRun mapped = run;
        mapped.start = charPos[run.start];
        mapped.end = charPos[run.end];
        if (mapped.start < mapped.end) {
            display.runs.push_back(mapped);
        }
    }
    return display;
}

int ChosenSizeToTwips(int tenthsOfPoint) {
    return tenthsOfPoint / 10 * 20;
}

}  // namespace ek
