#include "core/views/StyleRuns.h"

#include <algorithm>
#include <functional>
#include <queue>
#include <utility>

namespace ek {

namespace {

RunColour ColourOf(HighlightKind kind) {
    switch (kind) {
        case HighlightKind::Url:
            return RunColour::Url;
        case HighlightKind::Mail:
            return RunColour::Mail;
        case HighlightKind::Quote:
            return RunColour::Quote;
        case HighlightKind::Note:
            return RunColour::Note;
        case HighlightKind::Bold:
            break;
    }
    return RunColour::None;
}

// Sorts values that come in a few ascending stretches, as the steps do (the
// addresses of every line, then the quoted lines, then the header names): the
// stretches are merged pairwise, O(n log k) for k stretches.
template <typename Less>
void SortAscendingStretches(std::vector<std::size_t>& values, Less less) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i == 0 || less(values[i], values[i - 1])) {
            starts.push_back(i);
        }
    }
    starts.push_back(values.size());
    while (starts.size() > 2) {
        std::vector<std::size_t> merged;
        std::size_t k = 0;
        for (; k + 2 < starts.size(); k += 2) {
            std::inplace_merge(values.begin() + static_cast<std::ptrdiff_t>(starts[k]),
                               values.begin() + static_cast<std::ptrdiff_t>(starts[k + 1]),
                               values.begin() + static_cast<std::ptrdiff_t>(starts[k + 2]), less);
            merged.push_back(starts[k]);
        }
        for (; k < starts.size(); ++k) {
            merged.push_back(starts[k]);
        }
        starts = std::move(merged);
    }
}

}  // namespace

std::vector<StyleRun> ResolveStyleRuns(const std::vector<HighlightStep>& steps,
                                       std::size_t textLength) {
    // The non-empty steps after clipping, by start; their indexes keep the step order.
    std::vector<std::size_t> order;
    std::vector<std::size_t> bounds;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const std::size_t end = std::min(steps[i].end, textLength);
        if (steps[i].start < end) {
            order.push_back(i);
            bounds.push_back(steps[i].start);
            bounds.push_back(end);
        }
    }
    SortAscendingStretches(
        order, [&steps](std::size_t a, std::size_t b) { return steps[a].start < steps[b].start; });
    SortAscendingStretches(bounds, std::less<>());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());

    // Colour steps covering the sweep position, the latest step on top; entries that
    // have ended are dropped when they reach the top.
    std::priority_queue<std::pair<std::size_t, std::size_t>> colours;  // (index, end)
    std::priority_queue<std::size_t, std::vector<std::size_t>, std::greater<>> boldEnds;
    std::vector<StyleRun> runs;
    std::size_t next = 0;
    for (std::size_t b = 0; b + 1 < bounds.size(); ++b) {
        const std::size_t from = bounds[b];
        for (; next < order.size() && steps[order[next]].start == from; ++next) {
            const HighlightStep& step = steps[order[next]];
            const std::size_t end = std::min(step.end, textLength);
            if (step.kind == HighlightKind::Bold) {
                boldEnds.push(end);
            } else {
                colours.emplace(order[next], end);
            }
        }
        while (!colours.empty() && colours.top().second <= from) {
            colours.pop();
        }
        while (!boldEnds.empty() && boldEnds.top() <= from) {
            boldEnds.pop();
        }
        const RunColour colour =
            colours.empty() ? RunColour::None : ColourOf(steps[colours.top().first].kind);
        const bool bold = !boldEnds.empty();
        if (colour == RunColour::None && !bold) {
            continue;
        }
        if (!runs.empty() && runs.back().end == from && runs.back().colour == colour &&
            runs.back().bold == bold) {
            runs.back().end = bounds[b + 1];
        } else {
            runs.push_back({from, bounds[b + 1], colour, bold});
        }
    }
    return runs;
}

}  // namespace ek
