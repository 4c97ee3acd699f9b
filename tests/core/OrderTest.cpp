// Ordering the messages by date key after a read.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/document/EKViewDoc.h"
#include "core/document/TextRules.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

std::vector<std::string> Subjects(const CEKViewDoc& doc) {
    std::vector<std::string> subjects;
    for (int i = 0; i < doc.GetMessageCount(); ++i) {
        subjects.push_back(doc.GetHeaderValue(i, "Subject: "));
    }
    return subjects;
}

struct OrderCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> subjectAndDate;  // file order
    std::vector<std::string> expected;                                // subjects
};

class Ordering : public testing::TestWithParam<OrderCase> {};

TEST_P(Ordering, PutsMessagesInDateKeyOrder) {
    std::string mailbox;
    for (const auto& [subject, date] : GetParam().subjectAndDate) {
        mailbox += date.empty() ? Message({"Subject: " + subject})
                                : Message({"Subject: " + subject, "Date: " + date});
    }
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, mailbox).ok());
    EXPECT_EQ(Subjects(doc), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Ordering,
    testing::Values(OrderCase{"Chronological",
                              {{"c", "Sun, 02 Jan 2000 10:00:00"},
                               {"a", "Fri, 31 Dec 1999 10:00:00"},
                               {"b", "Sat, 01 Jan 2000 10:00:00"}},
                              {"a", "b", "c"}},
                    OrderCase{"MissingDateAfterTwoDigitYearBeforeModern",
                              {{"modern", "Sun, 02 Jan 2000 10:00:00"},
                               {"none", ""},
                               {"old", "Sun, 02 Jan 00 10:00:00"}},
                              {"old", "none", "modern"}},
                    OrderCase{
                        "OneDigitHourSortsAsText",
                        {{"eight", "Tue, 9 May 2000 8:05:00"}, {"ten", "Tue, 9 May 2000 10:00:00"}},
                        {"ten", "eight"}},
                    OrderCase{"EqualKeysKeepFileOrder",
                              {{"1", ""}, {"2", "x"}, {"3", ""}, {"4", "garbage"}, {"5", ""}},
                              {"1", "2", "3", "4", "5"}},
                    OrderCase{"Single", {{"only", "Sun, 02 Jan 2000 10:00:00"}}, {"only"}}),
    [](const testing::TestParamInfo<OrderCase>& info) { return info.param.name; });

TEST(Ordering, KeysCompareWithAsciiLettersFolded) {
    EXPECT_EQ(CompareIgnoringAsciiCase("abc", "ABC"), 0);
    EXPECT_LT(CompareIgnoringAsciiCase("2000/01/02 a", "2000/01/02 B"), 0);
    EXPECT_LT(CompareIgnoringAsciiCase("2000/01/02", "2000/01/02 "), 0);
    // '_' (0x5F) lies between the upper- and lower-case letters: folding decides.
    EXPECT_LT(CompareIgnoringAsciiCase("_", "a"), 0);
    EXPECT_LT(CompareIgnoringAsciiCase("_", "A"), 0);
    EXPECT_LT(CompareIgnoringAsciiCase("z", "\x82\xa0"), 0) << "high bytes compare unsigned";
}

TEST(Ordering, MixedCaseYearsSortTogether) {
    // Keys copy the day and year as written, so letters can reach the key.
    std::string mailbox = Message({"Subject: B", "Date: 2 Jan XB 10:00:00"}) +
                          Message({"Subject: a", "Date: 2 Jan xa 10:00:00"});
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, mailbox).ok());
    EXPECT_EQ(Subjects(doc), (std::vector<std::string>{"a", "B"}));
}

// A mailbox large enough that the keys of its second half are built on a second core:
// the order is still the stable order of the keys (few distinct dates, so that equal
// keys straddle the halves, and keys that differ only in the case of letters).
TEST(Ordering, ALargeMailboxKeepsTheStableOrderOfItsKeys) {
    const std::vector<std::string> dates = {
        "Sun, 02 Jan 2000 10:00:00", "Fri, 31 Dec 1999 10:00:00", "",
        "2 Jan XB 10:00:00",         "2 Jan xb 10:00:00",         "Tue, 9 May 2000 8:05:00"};
    std::mt19937 random(5);
    std::string mailbox;
    std::vector<std::pair<std::string, std::string>> expected;  // folded key, subject
    for (int i = 0; i < 30000; ++i) {
        const std::string& date = dates[random() % dates.size()];
        const std::string subject = std::to_string(i);
        mailbox += date.empty() ? Message({"Subject: " + subject})
                                : Message({"Subject: " + subject, "Date: " + date});
        std::string key;
        CEKViewDoc::NormalizeDate(date, key);
        for (char& c : key) {
            c = AsciiLower(c);
        }
        expected.emplace_back(key, subject);
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, mailbox).ok());
    const std::vector<std::string> subjects = Subjects(doc);
    ASSERT_EQ(subjects.size(), expected.size());
    for (std::size_t i = 0; i < subjects.size(); ++i) {
        ASSERT_EQ(subjects[i], expected[i].second) << "row " << i;
    }
}

}  // namespace
}  // namespace ek::test
