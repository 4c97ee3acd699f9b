// Where a mailbox is cut for a read in two halves: only at a pair that the whole
// read would also open there.
#include <gtest/gtest.h>

#include <string>

#include "core/document/SplitPoint.h"
#include "tests/support/HexBytes.h"

namespace ek::test {
namespace {

const std::string kStart = "From - Sun Jan 02 15:04:05 2000";
const std::string kStatus = "X-EKMail-Status: 0001";
// Enough ordinary lines to put what follows past the middle.
const std::string kFirstHalf = kStart + "\n" + kStatus + "\n" + std::string(400, 'x') + "\n";

struct SplitCase {
    const char* name;
    std::string text;
    std::string expectedAfter;  // the text from the point on; empty: no point
};

void PrintTo(const SplitCase& c, std::ostream* out) {
    *out << c.name;
}

class SplitPointTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitPointTest, CutsOnlyWhereTheWholeReadOpensAMessage) {
    const SplitCase& c = GetParam();
    const std::size_t point = FindSplitPoint(c.text);
    SCOPED_TRACE(HexBytes(c.text));
    if (c.expectedAfter.empty()) {
        EXPECT_EQ(point, 0u);
    } else {
        EXPECT_EQ(c.text.substr(point), c.expectedAfter);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitPointTest,
    testing::Values(
        SplitCase{"PairPastTheMiddle", kFirstHalf + kStart + "\n" + kStatus + "\nbody\n",
                  kStart + "\n" + kStatus + "\nbody\n"},
        SplitCase{"CrLfPair", kFirstHalf + kStart + "\r\n" + kStatus + "\r\n",
                  kStart + "\r\n" + kStatus + "\r\n"},
        SplitCase{"StatusAsTheLastLineWithoutLf", kFirstHalf + kStart + "\n" + kStatus,
                  kStart + "\n" + kStatus},
        SplitCase{"StartAfterAStartIsThatOnesSecondLine",
                  kFirstHalf + kStart + "\n" + kStart + "\n" + kStatus + "\nb\n" + kStart + "\n" +
                      kStatus + "\n",
                  kStart + "\n" + kStatus + "\n"},
        SplitCase{"StartAfterAStartWithCrLf",
                  kFirstHalf + kStart + "\r\n" + kStart + "\n" + kStatus + "\n", ""},
        SplitCase{"LongerLineEndingLikeAStartDoesNotCount",
                  kFirstHalf + "x" + kStart + "\n" + kStart + "\n" + kStatus + "\n",
                  kStart + "\n" + kStatus + "\n"},
        SplitCase{"StartWithoutStatus", kFirstHalf + kStart + "\nSubject: x\n", ""},
        // The whole read ends at the text end inside the line, which its last message
        // takes as a line of its own; the second half would drop it.
        SplitCase{"TextEndInsideTheStartLine",
                  kFirstHalf + "From - Sun Jan\x1a" + "02 15:04:05 2000\n" + kStatus + "\n", ""},
        SplitCase{"StartAsTheLastLine", kFirstHalf + kStart, ""},
        SplitCase{"PairOnlyBeforeTheMiddle", kFirstHalf + std::string(600, 'y') + "\n", ""},
        SplitCase{"Empty", "", ""}),
    [](const testing::TestParamInfo<SplitCase>& info) { return info.param.name; });

}  // namespace
}  // namespace ek::test
