// Header values, date keys, sender names and list rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>

#include "core/document/EKViewDoc.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

struct DateCase {
    std::string value;
    std::string key;
    bool monthFound;
};

class DateKey : public testing::TestWithParam<DateCase> {};

TEST_P(DateKey, IsBuiltFromTheFieldsAsWritten) {
    const DateCase& c = GetParam();
    std::string key = "stale";
    EXPECT_EQ(CEKViewDoc::NormalizeDate(c.value, key), c.monthFound)
        << "value: '" << c.value << "'";
    EXPECT_EQ(key, c.key) << "value: '" << c.value << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Variants, DateKey,
    testing::Values(DateCase{"Sun, 2 Jan 2000 15:04:05 +0900", "2000/01/02 15:04:05", true},
                    DateCase{"2 Jan 2000 15:04:05 +0900", "2000/01/02 15:04:05", true},
                    DateCase{"Sun, 02 Jan 00 15:04:05 +0900", "1900/01/02 15:04:05", true},
                    DateCase{"Tue, 9 May 2000 8:05:00 +0900", "2000/05/09 8:05:00 ", true},
                    DateCase{"Sun, 02 january 2000 15:04:05", "2000/01/02 15:04:05", true},
                    DateCase{"Sun, 02 JAN 2000 15:04:05", "2000/01/02 15:04:05", true},
                    DateCase{"Sun, 02 Jn 2000 15:04:05", "1970/01/01 09:00:00", false},
                    DateCase{"Sunday, 02 Jan 2000 15:04:05", "1970/01/01 09:00:00", false},
                    DateCase{"", "1970/01/01 09:00:00", false},
                    DateCase{"Sun,", "1970/01/01 09:00:00", false},
                    DateCase{"Sun, 2 Dec 2000", "/12/02 2000", true},
                    DateCase{"   Sun, 2 Jan 2000 1:2", "1970/01/01 09:00:00", false},
                    DateCase{"Sun, \t 2 Jan 2000 15:04:05", "2000/01/02 15:04:05", true},
                    DateCase{"Sun, 2\t Jan 2000 15:04:05", "2000/01/02 15:04:05", true},
                    DateCase{"Sun, 29  Feb   2004   10:00", "2004/02/29 10:00", true},
                    DateCase{"Sun, 029 Feb 2004 10:00:00", "2004/02/029 10:00:00", true},
                    DateCase{"Thu, 1 Jan 3609 10:00:00", "3609/01/01 10:00:00", true},
                    DateCase{"Jan 2 2000", "1970/01/01 09:00:00", false},
                    DateCase{"2000-01-02T15:04:05Z", "1970/01/01 09:00:00", false},
                    DateCase{"Sun, 2 Oct 2000 15:04:05 (JST)", "2000/10/02 15:04:05", true}));

// The first stored line that begins with the prefix, letter case ignored, as a plain walk.
std::string WalkHeaderValue(const std::vector<std::string>& lines, const std::string& prefix) {
    for (const std::string& line : lines) {
        if (line.size() >= prefix.size() &&
            std::equal(prefix.begin(), prefix.end(), line.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            })) {
            return line.substr(prefix.size(), line.size() - prefix.size() - 1);
        }
    }
    return {};
}

TEST(HeaderValue, LookupsAnswerAsAWalkOverEveryLineWould) {
    const std::vector<std::string> pieces = {"Date: Sun, 2 Jan 2000 15:04:05",
                                             "DATE: x",
                                             "date:nospace",
                                             "From: a <b>",
                                             "from: second",
                                             "Subject: s",
                                             "SUBJECT: ",
                                             "Message-Id: <m>",
                                             "Message-ID: <n>",
                                             "In-Reply-To: <m>",
                                             "in-reply-to: <n>",
                                             "In-Reply-To:",
                                             "",
                                             "body",
                                             " folded",
                                             "Date: ",
                                             "I",
                                             "Dat"};
    const std::vector<std::string> prefixes = {
        "Date: ",       "DATE: ",        "From: ",        "Subject: ", "Message-Id: ",
        "message-id: ", "In-Reply-To: ", "IN-REPLY-TO: ", "To: "};
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        std::string mailbox;
        int messages = 1 + static_cast<int>(random() % 4);
        for (int m = 0; m < messages; ++m) {
            mailbox += kStart + "\n" + kStatus + "\n";
            int lines = static_cast<int>(random() % 12);
            for (int i = 0; i < lines; ++i) {
                mailbox += pieces[random() % pieces.size()] + (random() % 4 ? "\n" : "\r\n");
            }
        }
        CEKViewDoc doc;
        ASSERT_TRUE(ReadInto(doc, mailbox).ok());
        std::vector<std::vector<std::string>> stored = StoredMessages(doc);
        for (int i = 0; i < doc.GetMessageCount(); ++i) {
            for (const std::string& prefix : prefixes) {
                SCOPED_TRACE("message " + std::to_string(i) + ", prefix '" + prefix +
                             "', mailbox:\n" + mailbox);
                EXPECT_EQ(doc.GetHeaderValue(i, prefix), WalkHeaderValue(stored[i], prefix));
            }
        }
    }
}

struct SenderCase {
    std::string from;
    std::string name;
};

class SenderName : public testing::TestWithParam<SenderCase> {};

TEST_P(SenderName, IsTheDisplayPart) {
    EXPECT_EQ(CEKViewDoc::GetSenderName(GetParam().from), GetParam().name)
        << "From: '" << GetParam().from << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Variants, SenderName,
    testing::Values(SenderCase{"Help Desk <desk>", "Help Desk"},
                    SenderCase{"\"Desk\" <desk>", "Desk"}, SenderCase{"<desk>", "<desk>"},
                    SenderCase{"desk (Help Desk)", "Help Desk"}, SenderCase{"desk ()", "desk ()"},
                    SenderCase{"desk", "desk"}, SenderCase{"", ""},
                    SenderCase{"\"\"Quoted\"\" <a@b>", "Quoted"},
                    SenderCase{"Name <unclosed", "Name <unclosed"},
                    SenderCase{"> odd < order", "> odd < order"},
                    SenderCase{"Name <a> tail <b>", "Name  tail <b>"},
                    SenderCase{"a@b (\" Quoted Comment \")", " Quoted Comment "},
                    SenderCase{"desk (open", "desk (open"},
                    SenderCase{"\x8e\x52\x93\x63 <taro@example.jp>", "\x8e\x52\x93\x63"},
                    SenderCase{"  \t<x>  ", "  \t<x>  "}));

TEST(HeaderValue, MatchesThePrefixIgnoringCaseAndKeepsTheRest) {
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, Message({"SUBJECT: hello", "Date:nospace", "From:  two spaces",
                                       "To: \rx", "X-Empty: "},
                                      {"Date: in body", "Cc: from body"}))
                    .ok());
    EXPECT_EQ(doc.GetHeaderValue(0, "Subject: "), "hello");
    EXPECT_EQ(doc.GetHeaderValue(0, "Date: "), "in body") << "a body line matches too";
    EXPECT_EQ(doc.GetHeaderValue(0, "From: "), " two spaces");
    EXPECT_EQ(doc.GetHeaderValue(0, "To: "), "\rx");
    EXPECT_EQ(doc.GetHeaderValue(0, "X-Empty: "), "");
    EXPECT_EQ(doc.GetHeaderValue(0, "Cc: "), "from body");
    EXPECT_EQ(doc.GetHeaderValue(0, "Bcc: "), "");
    EXPECT_EQ(doc.GetHeaderValue(-1, "Subject: "), "");
    EXPECT_EQ(doc.GetHeaderValue(1, "Subject: "), "");
}

TEST(HeaderValue, UsesOnlyTheFirstPhysicalLine) {
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, Message({"Subject: first", " continued", "Subject: second"})).ok());
    EXPECT_EQ(doc.GetHeaderValue(0, "Subject: "), "first");
}

TEST(ListRow, HoldsDateSenderAndSubject) {
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, Message({"Subject: s", "From: Taro <t@example.jp>",
                                       "Date: Sun, 2 Jan 2000 15:04:05 +0900"}))
                    .ok());
    std::vector<std::string> row = {"stale"};
    EXPECT_TRUE(doc.GetListRow(0, row));
    EXPECT_EQ(row, (std::vector<std::string>{"2000/01/02 15:04:05", "Taro", "s"}));
    EXPECT_TRUE(doc.GetListRow(5, row));
    EXPECT_EQ(row, (std::vector<std::string>{"1970/01/01 09:00:00", "", ""}));
}

TEST(ListRow, EqualsTheThreeSeparateLookups) {
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, Message({"from: a <b>", "From: second", "DATE: 1 Feb 99 1:00:00"},
                                      {"Subject: body subject", "Date: body date"}))
                    .ok());
    std::vector<std::string> row;
    doc.GetListRow(0, row);
    std::string key;
    CEKViewDoc::NormalizeDate(doc.GetHeaderValue(0, "Date: "), key);
    EXPECT_EQ(row[0], key);
    EXPECT_EQ(row[1], CEKViewDoc::GetSenderName(doc.GetHeaderValue(0, "From: ")));
    EXPECT_EQ(row[2], doc.GetHeaderValue(0, "Subject: "));
}

}  // namespace
}  // namespace ek::test
