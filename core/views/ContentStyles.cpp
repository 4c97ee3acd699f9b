#include "core/views/ContentStyles.h"

#include <algorithm>

namespace ek {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Writes `c` at `out` and returns the end of what was written.
char* PutUtf8(char* out, char32_t c) {
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c < 0xDC00;
}

bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c < 0xE000;
}

}  // namespace

Utf8Display ToUtf8Display(std::wstring_view text, const std::vector<StyleRun>& runs) {
    Utf8Display display;
    display.runs = runs;
    // At most this many bytes: a surrogate counts as a replacement of its own.
    std::size_t bytes = 0;
    for (wchar_t w : text) {
        const auto c = static_cast<char32_t>(w);
        bytes += 1 + (c >= 0x80 ? 1 : 0) + (c >= 0x800 ? 1 : 0) + (c >= 0x10000 ? 1 : 0);
    }
    display.text.resize(bytes);
    char* const begin = display.text.data();
    char* out = begin;
    std::size_t i = 0;
    // Encodes the characters before `stop`; a surrogate pair across it is taken whole.
    auto encodeUpTo = [&](std::size_t stop) {
        while (i < stop) {
            auto c = static_cast<char32_t>(text[i++]);
            if (c < 0x80) {
                *out++ = static_cast<char>(c);
                continue;
            }
            if (IsHighSurrogate(c) && i < text.size() &&
                IsLowSurrogate(static_cast<char32_t>(text[i]))) {
                c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[i++]) - 0xDC00);
            } else if (IsHighSurrogate(c) || IsLowSurrogate(c) || c > 0x10FFFF) {
                c = kReplacement;
            }
            out = PutUtf8(out, c);
        }
    };
    // The run bounds, start then end of each run, never decrease: one walk over the
    // text moves them all onto the bytes.
    for (StyleRun& run : display.runs) {
        for (std::size_t* bound : {&run.start, &run.end}) {
            encodeUpTo(std::min(*bound, text.size()));
            *bound = static_cast<std::size_t>(out - begin);
        }
    }
    encodeUpTo(text.size());
    display.text.resize(static_cast<std::size_t>(out - begin));
    std::erase_if(display.runs, [](const StyleRun& run) { return run.start >= run.end; });
    return display;
}

int StyleOfRun(RunColour colour, bool bold) {
    return static_cast<int>(colour) * 2 + (bold ? 1 : 0);
}

RunColour ColourOfStyle(int style) {
    return static_cast<RunColour>(std::clamp(style, 0, kRunStyleCount - 1) / 2);
}

bool IsBoldStyle(int style) {
    return style % 2 != 0;
}

std::vector<StyleSpan> StylesInRange(const std::vector<StyleRun>& runs, std::size_t from,
                                     std::size_t to) {
    std::vector<StyleSpan> spans;
    auto add = [&spans](std::size_t start, std::size_t end, int style) {
        if (start >= end) {
            return;
        }
        if (!spans.empty() && spans.back().style == style && spans.back().end == start) {
            spans.back().end = end;
        } else {
            spans.push_back({start, end, style});
        }
    };
    auto run = std::partition_point(runs.begin(), runs.end(),
                                    [from](const StyleRun& r) { return r.end <= from; });
    std::size_t at = from;
    for (; run != runs.end() && run->start < to && at < to; ++run) {
        const std::size_t start = std::max(run->start, at);
        const std::size_t end = std::min(run->end, to);
        add(at, start, 0);
        add(start, end, StyleOfRun(run->colour, run->bold));
        at = end;
    }
    add(at, to, 0);
    return spans;
}

void UnstyledRanges::Add(std::size_t from, std::size_t to) {
    if (from >= to) {
        return;
    }
    auto first = std::partition_point(m_ranges.begin(), m_ranges.end(),
                                      [from](const auto& range) { return range.second < from; });
    auto last = first;
    while (last != m_ranges.end() && last->first <= to) {
        from = std::min(from, last->first);
        to = std::max(to, last->second);
        ++last;
    }
    first = m_ranges.erase(first, last);
    m_ranges.insert(first, {from, to});
}

std::size_t UnstyledRanges::FirstIn(std::size_t from, std::size_t to) const {
    auto range = std::partition_point(m_ranges.begin(), m_ranges.end(),
                                      [from](const auto& r) { return r.second <= from; });
    if (range == m_ranges.end() || range->first >= to) {
        return to;
    }
    return std::max(range->first, from);
}

std::vector<std::pair<std::size_t, std::size_t>> UnstyledRanges::Take(std::size_t from,
                                                                      std::size_t to) {
    std::vector<std::pair<std::size_t, std::size_t>> taken;
    if (from >= to) {
        return taken;
    }
    std::vector<std::pair<std::size_t, std::size_t>> kept;
    kept.reserve(m_ranges.size() + 1);
    for (const auto& range : m_ranges) {
        const std::size_t start = std::max(range.first, from);
        const std::size_t end = std::min(range.second, to);
        if (start >= end) {
            kept.push_back(range);
            continue;
        }
        taken.emplace_back(start, end);
        if (range.first < start) {
            kept.emplace_back(range.first, start);
        }
        if (end < range.second) {
            kept.emplace_back(end, range.second);
        }
    }
    m_ranges = std::move(kept);
    return taken;
}

}  // namespace ek
