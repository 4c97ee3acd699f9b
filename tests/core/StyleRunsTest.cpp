#include "core/views/StyleRuns.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace ek {
namespace {

using K = HighlightKind;
using C = RunColour;
using Steps = std::vector<HighlightStep>;
using Runs = std::vector<StyleRun>;

std::string Show(const Runs& runs) {
    static const char* const kNames[] = {"-", "Url", "Mail", "Quote", "Note"};
    std::string shown;
    for (const StyleRun& run : runs) {
        shown += std::string(kNames[static_cast<int>(run.colour)]) + (run.bold ? "+B" : "") + "[" +
                 std::to_string(run.start) + "," + std::to_string(run.end) + ")";
    }
    return shown;
}

struct RunCase {
    const char* name;
    Steps steps;
    std::size_t length;
    Runs expected;
};

const RunCase kRunCases[] = {
    {"no steps", {}, 10, {}},
    {"one colour", {{2, 5, K::Url}}, 10, {{2, 5, C::Url, false}}},
    {"later colour inside an earlier one",
     {{0, 10, K::Quote}, {3, 6, K::Mail}},
     10,
     {{0, 3, C::Quote, false}, {3, 6, C::Mail, false}, {6, 10, C::Quote, false}}},
    {"later colour over an earlier one",
     {{3, 6, K::Mail}, {0, 10, K::Quote}},
     10,
     {{0, 10, C::Quote, false}}},
    {"partial overlap",
     {{0, 6, K::Url}, {4, 9, K::Mail}},
     10,
     {{0, 4, C::Url, false}, {4, 9, C::Mail, false}}},
    {"three deep",
     {{0, 10, K::Quote}, {2, 4, K::Url}, {3, 8, K::Mail}},
     10,
     {{0, 2, C::Quote, false},
      {2, 3, C::Url, false},
      {3, 8, C::Mail, false},
      {8, 10, C::Quote, false}}},
    {"inner step ends, outer earlier step resumes",
     {{0, 4, K::Url}, {0, 10, K::Quote}, {2, 3, K::Note}},
     10,
     {{0, 2, C::Quote, false}, {2, 3, C::Note, false}, {3, 10, C::Quote, false}}},
    {"bold over colour",
     {{0, 10, K::Url}, {0, 4, K::Bold}},
     10,
     {{0, 4, C::Url, true}, {4, 10, C::Url, false}}},
    {"bold survives a later colour",
     {{0, 4, K::Bold}, {2, 8, K::Mail}},
     10,
     {{0, 2, C::None, true}, {2, 4, C::Mail, true}, {4, 8, C::Mail, false}}},
    {"overlapping bold steps merge",
     {{0, 5, K::Bold}, {3, 8, K::Bold}},
     10,
     {{0, 8, C::None, true}}},
    {"adjacent same colour merges", {{0, 3, K::Url}, {3, 6, K::Url}}, 10, {{0, 6, C::Url, false}}},
    {"adjacent different colours",
     {{0, 3, K::Url}, {3, 6, K::Mail}},
     10,
     {{0, 3, C::Url, false}, {3, 6, C::Mail, false}}},
    {"nested same colour", {{0, 10, K::Quote}, {2, 4, K::Quote}}, 10, {{0, 10, C::Quote, false}}},
    {"gap stays uncoloured",
     {{0, 2, K::Url}, {5, 7, K::Mail}},
     10,
     {{0, 2, C::Url, false}, {5, 7, C::Mail, false}}},
    {"empty and reversed spans do nothing",
     {{3, 3, K::Url}, {6, 4, K::Mail}, {5, 5, K::Bold}},
     10,
     {}},
    {"empty later step leaves the colour",
     {{0, 6, K::Url}, {3, 3, K::Mail}},
     10,
     {{0, 6, C::Url, false}}},
    {"spans clipped to the text",
     {{8, 20, K::Url}, {12, 15, K::Mail}, {9, 30, K::Bold}},
     10,
     {{8, 9, C::Url, false}, {9, 10, C::Url, true}}},
};

TEST(StyleRunsTest, ResolvesOverlappingSteps) {
    for (const RunCase& c : kRunCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Show(ResolveStyleRuns(c.steps, c.length)), Show(c.expected));
    }
}

// Position by position: the last colour step wins, any bold step makes bold.
Runs NaiveRuns(const Steps& steps, std::size_t length) {
    std::vector<C> colour(length, C::None);
    std::vector<bool> bold(length, false);
    for (const HighlightStep& step : steps) {
        for (std::size_t p = step.start; p < step.end && p < length; ++p) {
            switch (step.kind) {
                case K::Url:
                    colour[p] = C::Url;
                    break;
                case K::Mail:
                    colour[p] = C::Mail;
                    break;
                case K::Quote:
                    colour[p] = C::Quote;
                    break;
                case K::Note:
                    colour[p] = C::Note;
                    break;
                case K::Bold:
                    bold[p] = true;
                    break;
            }
        }
    }
    Runs runs;
    for (std::size_t p = 0; p < length; ++p) {
        if (colour[p] == C::None && !bold[p]) {
            continue;
        }
        if (!runs.empty() && runs.back().end == p && runs.back().colour == colour[p] &&
            runs.back().bold == bold[p]) {
            ++runs.back().end;
        } else {
            runs.push_back({p, p + 1, colour[p], bold[p]});
        }
    }
    return runs;
}

TEST(StyleRunsTest, AgreesWithPositionByPositionResolution) {
    std::mt19937 random(20260101);
    for (int round = 0; round < 300; ++round) {
        const std::size_t length = 1 + random() % 60;
        Steps steps(random() % 12);
        for (HighlightStep& step : steps) {
            step.start = random() % (length + 5);
            step.end = step.start + random() % 20;
            step.kind = static_cast<K>(random() % 5);
        }
        SCOPED_TRACE("round " + std::to_string(round));
        EXPECT_EQ(Show(ResolveStyleRuns(steps, length)), Show(NaiveRuns(steps, length)));
    }
}

}  // namespace
}  // namespace ek
