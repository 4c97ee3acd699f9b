// The highlighting steps for arbitrary display lines and quote marks, against a plain
// transcription of the four passes, and their resolution into style runs, against a
// position-by-position painting, and the styles of a painted stretch; then the pane's
// line-by-line styling of the shown text against the whole message's.
#include "core/platform/Cp932.h"
#include "core/views/ContentFormat.h"
#include "core/views/ContentStyles.h"
#include "core/views/ContentText.h"
#include "core/views/FirstPart.h"
#include "core/views/Highlight.h"
#include "core/views/StyleRuns.h"
#include "fuzz/FuzzSupport.h"

namespace {

using ek::HighlightKind;
using ek::HighlightStep;
using Lines = std::vector<std::string>;

bool IsWhite(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsGraphic(char c) {
    return c >= 0x21 && c <= 0x7E;
}

bool IsLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool IsAddressChar(char c) {
    return IsLetterOrDigit(c) || c == '_' || c == '.' || c == '-';
}

// The first match that starts where a character starts.
std::size_t FindOnBoundary(const std::string& line, const std::string& marker) {
    for (std::size_t i = 0; i < line.size(); i += ek::cp932::CharLength(line, i)) {
        if (line.compare(i, marker.size(), marker) == 0) {
            return i;
        }
    }
    return std::string::npos;
}

Lines ReferenceMarks(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsWhite(text[first])) {
        ++first;
    }
    while (last > first && IsWhite(text[last - 1])) {
        --last;
    }
    std::string rest = text.substr(first, last - first);
    Lines marks;
    for (std::size_t space = rest.find(' '); space != std::string::npos; space = rest.find(' ')) {
        marks.push_back(rest.substr(0, space));
        std::size_t next = space + 1;
        while (next < rest.size() && IsWhite(rest[next])) {
            ++next;
        }
        rest.erase(0, next);
    }
    if (!rest.empty()) {
        marks.push_back(rest);
    }
    return marks;
}

std::vector<HighlightStep> ReferenceSteps(const Lines& lines, bool note, const std::string& quote) {
    const std::size_t n = lines.size();
    std::size_t s = 0;
    while (s < n && (lines[s].empty() || lines[s][0] != '\n')) {
        ++s;
    }
    std::vector<std::size_t> p(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
        p[i + 1] = p[i] + lines[i].size();
    }
    std::vector<HighlightStep> steps;
    for (std::size_t i = s; i < n; ++i) {
        const std::string& l = lines[i];
        if (std::size_t u = FindOnBoundary(l, "http://"); u != std::string::npos) {
            std::size_t e = u + 1;
            while (e < l.size() && IsGraphic(l[e])) {
                ++e;
            }
            steps.push_back({p[i] + u, p[i] + e, HighlightKind::Url});
        }
        if (std::size_t a = FindOnBoundary(l, "@"); a != std::string::npos) {
            std::size_t start = a;
            while (start > 0 && IsAddressChar(l[start - 1])) {
                --start;
            }
            std::size_t end = a + 1;
            while (end < l.size() && IsAddressChar(l[end])) {
                ++end;
            }
            steps.push_back({p[i] + start, p[i] + end, HighlightKind::Mail});
        }
    }
    const Lines marks = ReferenceMarks(quote);
    for (std::size_t i = s; i < n; ++i) {
        for (const std::string& m : marks) {
            if (lines[i].compare(0, m.size(), m) == 0 && lines[i].size() >= m.size()) {
                steps.push_back({p[i], p[i + 1], HighlightKind::Quote});
            }
        }
    }
    if (note && n > 0) {
        steps.push_back({p[n - 1], p[n], HighlightKind::Note});
    }
    for (std::size_t i = 0; i < s; ++i) {
        if (lines[i].empty() || !IsLetterOrDigit(lines[i][0])) {
            continue;
        }
        if (std::size_t c = FindOnBoundary(lines[i], ":"); c != std::string::npos) {
            steps.push_back({p[i], p[i] + c + 1, HighlightKind::Bold});
        }
    }
    return steps;
}

void CheckRuns(const std::vector<HighlightStep>& steps, std::size_t length) {
    const std::vector<ek::StyleRun> runs = ek::ResolveStyleRuns(steps, length);
    std::vector<ek::RunColour> colour(length, ek::RunColour::None);
    std::vector<bool> bold(length, false);
    for (const HighlightStep& step : steps) {
        for (std::size_t at = step.start; at < step.end && at < length; ++at) {
            switch (step.kind) {
                case HighlightKind::Bold:
                    bold[at] = true;
                    break;
                case HighlightKind::Url:
                    colour[at] = ek::RunColour::Url;
                    break;
                case HighlightKind::Mail:
                    colour[at] = ek::RunColour::Mail;
                    break;
                case HighlightKind::Quote:
                    colour[at] = ek::RunColour::Quote;
                    break;
                case HighlightKind::Note:
                    colour[at] = ek::RunColour::Note;
                    break;
            }
        }
    }
    std::size_t at = 0;
    const ek::StyleRun* previous = nullptr;
    for (const ek::StyleRun& run : runs) {
        EK_FUZZ_CHECK(run.start >= at && run.start < run.end && run.end <= length);
        EK_FUZZ_CHECK(run.colour != ek::RunColour::None || run.bold);
        for (; at < run.start; ++at) {
            EK_FUZZ_CHECK(colour[at] == ek::RunColour::None && !bold[at]);
        }
        for (; at < run.end; ++at) {
            EK_FUZZ_CHECK(colour[at] == run.colour && bold[at] == run.bold);
        }
        // Runs are maximal: touching runs differ.
        if (previous != nullptr && previous->end == run.start) {
            EK_FUZZ_CHECK(previous->colour != run.colour || previous->bold != run.bold);
        }
        previous = &run;
    }
    for (; at < length; ++at) {
        EK_FUZZ_CHECK(colour[at] == ek::RunColour::None && !bold[at]);
    }
    // The styles the pane hands the control for a painted stretch: the same positions.
    const std::size_t from = length / 3;
    std::size_t next = from;
    for (const ek::StyleSpan& span : ek::StylesInRange(runs, from, length)) {
        EK_FUZZ_CHECK(span.start == next && span.start < span.end);
        for (; next < span.end; ++next) {
            EK_FUZZ_CHECK(ek::ColourOfStyle(span.style) == colour[next] &&
                          ek::IsBoldStyle(span.style) == bold[next]);
        }
    }
    EK_FUZZ_CHECK(next == std::max(from, length));
}

// The shown text and the styles of stretches of it, built line by line, against the
// whole message decoded and resolved at once.
void CheckLineByLine(const Lines& lines, bool note, const std::string& quote) {
    const std::string joined = ek::JoinLines(lines);
    const ek::ContentDisplay display = ek::PrepareContentDisplay(lines, joined, note, quote);
    const ek::Utf8Display whole = ek::ToUtf8Display(display.text, display.runs);
    ek::ContentText text;
    text.Begin(ek::TextCoding::Cp932, joined.size() / 2);
    for (const std::string& line : lines) {
        text.AppendLine(line);
    }
    text.Finish(note, quote);
    EK_FUZZ_CHECK(text.Shown() == whole.text);
    const std::size_t size = whole.text.size();
    for (std::size_t from : {std::size_t{0}, size / 3, size / 2}) {
        for (std::size_t to : {size / 2 + 1, size, size + 3}) {
            if (from < to) {
                EK_FUZZ_CHECK(text.StylesInRange(from, to) ==
                              ek::StylesInRange(whole.runs, from, to));
            }
        }
    }
}

}  // namespace

// Byte 0 chooses whether a note line ends the lines; the first line after it holds the
// quote marks, the rest the display lines.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool note = (data[0] & 1) != 0;
    std::string_view text = ek::fuzz::AsText(data + 1, size - 1);
    const std::size_t lf = text.find('\n');
    const std::string quote(text.substr(0, lf));
    Lines lines =
        lf == std::string_view::npos ? Lines() : ek::fuzz::SplitAfterLf(text.substr(lf + 1));
    if (note) {
        lines.emplace_back(ek::kAttachmentNote);
    }

    const Lines marks = ek::SplitQuoteMarks(quote);
    EK_FUZZ_CHECK(marks == ReferenceMarks(quote));
    for (const std::string& mark : marks) {
        EK_FUZZ_CHECK(!mark.empty() && mark.find(' ') == std::string::npos && !IsWhite(mark[0]));
    }

    const std::vector<HighlightStep> steps = ek::BuildHighlightSteps(lines, note, quote);
    EK_FUZZ_CHECK(steps == ReferenceSteps(lines, note, quote));
    const std::size_t length = ek::JoinLines(lines).size();
    for (const HighlightStep& step : steps) {
        EK_FUZZ_CHECK(step.start <= step.end && step.end <= length);
        EK_FUZZ_CHECK(step.start < step.end || step.kind == HighlightKind::Note);
    }
    CheckRuns(steps, length);
    // Steps past the text, as a pane holding a shorter text might be handed, are clipped.
    CheckRuns(steps, length / 2);
    CheckLineByLine(lines, note, quote);
    return 0;
}
