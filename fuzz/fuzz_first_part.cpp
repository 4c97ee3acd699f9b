// The first-part cut on arbitrary display lines and delimiters, against a plain
// transcription of the cut.
#include "core/views/FirstPart.h"
#include "fuzz/FuzzSupport.h"

namespace {

using Lines = std::vector<std::string>;

bool Begins(const std::string& line, const std::string& delimiter) {
    return line.size() >= delimiter.size() && line.compare(0, delimiter.size(), delimiter) == 0;
}

bool ReferenceCut(Lines& lines, const std::string& delimiter) {
    if (delimiter.empty()) {
        return false;
    }
    const std::size_t n = lines.size();
    std::size_t s = 0;
    while (s < n && (lines[s].empty() || lines[s][0] != '\n')) {
        ++s;
    }
    if (s < n) {
        std::size_t b = s + 1;
        while (b < n && !Begins(lines[b], delimiter)) {
            ++b;
        }
        if (b < n) {
            std::size_t e = b;
            while (e < n && lines[e] != "\n") {
                ++e;
            }
            // Without a blank line after the delimiter only the preamble and the
            // delimiter line go.
            const std::size_t last = e < n ? e : b;
            Lines kept(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(s + 1));
            kept.insert(kept.end(), lines.begin() + static_cast<std::ptrdiff_t>(last + 1),
                        lines.end());
            lines = kept;
        }
    }
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (Begins(lines[k], delimiter)) {
            lines.resize(k);
            lines.emplace_back(ek::kAttachmentNote);
            return true;
        }
    }
    return false;
}

}  // namespace

// The first line of the input is the delimiter, the rest the display lines.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = ek::fuzz::AsText(data, size);
    const std::size_t lf = text.find('\n');
    const std::string delimiter(text.substr(0, lf));
    const Lines input =
        lf == std::string_view::npos ? Lines() : ek::fuzz::SplitAfterLf(text.substr(lf + 1));

    Lines cut = input;
    const bool noted = ek::CutToFirstPart(cut, delimiter);
    Lines expected = input;
    EK_FUZZ_CHECK(noted == ReferenceCut(expected, delimiter));
    EK_FUZZ_CHECK(cut == expected);

    EK_FUZZ_CHECK(cut.size() <= input.size() + 1);
    if (delimiter.empty()) {
        EK_FUZZ_CHECK(!noted && cut == input);
    }
    if (noted) {
        EK_FUZZ_CHECK(cut.back() == ek::kAttachmentNote);
    }
    // No line of the cut text begins with the delimiter, and the header stays whole.
    const std::size_t kept = cut.size() - (noted ? 1 : 0);
    for (std::size_t i = 0; i < kept && !delimiter.empty(); ++i) {
        EK_FUZZ_CHECK(!Begins(cut[i], delimiter));
    }
    const std::size_t headerEnd = ek::FindHeaderEnd(input);
    for (std::size_t i = 0; i < headerEnd && i < kept; ++i) {
        EK_FUZZ_CHECK(cut[i] == input[i]);
    }
    std::size_t total = 0;
    for (const std::string& line : cut) {
        total += line.size();
    }
    EK_FUZZ_CHECK(ek::JoinLines(cut).size() == total);
    return 0;
}
