// Display lines and the multipart delimiter.
#include <gtest/gtest.h>

#include "core/document/EKViewDoc.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

struct BoundaryCase {
    const char* name;
    std::string mailbox;
    std::string delimiter;
};

class Boundary : public testing::TestWithParam<BoundaryCase> {};

TEST_P(Boundary, IsTakenFromTheContentTypeLineOrTheNext) {
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, GetParam().mailbox).ok());
    EXPECT_EQ(doc.GetBoundary(0), GetParam().delimiter);
    EXPECT_EQ(doc.IsMultipart(0), !GetParam().delimiter.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Variants, Boundary,
    testing::Values(
        BoundaryCase{"SameLine", Message({"Content-Type: multipart/mixed; boundary=\"b1\""}),
                     "--b1"},
        BoundaryCase{"NextLine", Message({"Content-Type: multipart/mixed;", "\tboundary=\"b2\""}),
                     "--b2"},
        BoundaryCase{"CaseIgnoredInNamesKeptInValue",
                     Message({"content-type: Multipart/Mixed; BOUNDARY=\"XyZ\""}), "--XyZ"},
        BoundaryCase{"Unquoted", Message({"Content-Type: multipart/mixed; boundary=b3"}), ""},
        BoundaryCase{"NoBoundary",
                     Message({"Content-Type: text/plain; charset=iso-2022-jp", "X-A: b"}), ""},
        BoundaryCase{"OnlyInBody", Message({"Subject: x"}, {"Content-Type: a; boundary=\"b\""}),
                     ""},
        BoundaryCase{"QuotesFromLineStart",
                     Message({"Content-Type: multipart/mixed; x=\"1\"; boundary=\"b4\""}),
                     "--1\"; boundary=\"b4"},
        BoundaryCase{"OneQuote", Message({"Content-Type: m; boundary=\"b5"}), ""},
        BoundaryCase{"EmptyQuoted", Message({"Content-Type: m; boundary=\"\""}), "--"},
        BoundaryCase{
            "SecondLineAfterNextIgnored",
            Message({"Content-Type: multipart/mixed;", "\tcharset=x;", "\tboundary=\"b6\""}), ""},
        BoundaryCase{"FirstContentTypeOnly",
                     Message({"Content-Type: text/plain", "X: y",
                              "Content-Type: multipart/mixed; boundary=\"b7\""}),
                     ""},
        BoundaryCase{"ContentTypeIsLastLine",
                     Lines({kStart, kStatus, "Content-Type: m; boundary=\"b8\""}), "--b8"},
        BoundaryCase{"ContentTypeLastWithoutParameter",
                     Lines({kStart, kStatus, "Content-Type: multipart/mixed;"}), ""},
        BoundaryCase{"NextLineIsHeaderEnd", Message({"Content-Type: multipart/mixed;"}), ""},
        BoundaryCase{"ParameterInsideDoubleByteCharacterNotSeen",
                     Message({"Content-Type: m; \x82"
                              "boundary=\"b9\""}),
                     ""},
        BoundaryCase{"NoSpaceAfterColon", Message({"Content-Type:multipart/mixed; boundary=\"b\""}),
                     ""}),
    [](const testing::TestParamInfo<BoundaryCase>& info) { return info.param.name; });

TEST(Boundary, OutsideTheListIsEmpty) {
    CEKViewDoc doc;
    EXPECT_EQ(doc.GetBoundary(0), "");
    EXPECT_EQ(doc.GetBoundary(-1), "");
}

class DisplayLines : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ReadInto(doc, Message({"Received: x", "Subject: s", "date: lower", "To: a,",
                                           " b", "From: f", "Date: d"},
                                          {"body", "From: in body", "", "end"}))
                        .ok());
    }
    CEKViewDoc doc;
};

TEST_F(DisplayLines, ShortHeaderKeepsTheFourKindsInMessageOrder) {
    std::vector<std::string> lines;
    ASSERT_TRUE(doc.GetMessageLines(0, lines, false));
    EXPECT_EQ(lines, (std::vector<std::string>{"Subject: s\n", "To: a,\n", "From: f\n", "Date: d\n",
                                               "\n", "body\n", "From: in body\n", "\n", "end\n"}));
}

TEST_F(DisplayLines, AllHeadersKeepEveryStoredLine) {
    std::vector<std::string> lines;
    ASSERT_TRUE(doc.GetMessageLines(0, lines, true));
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines.front(), kStart + "\n");
    EXPECT_EQ(lines.back(), "end\n");
}

TEST_F(DisplayLines, OutsideTheListLeavesTheArrayAlone) {
    std::vector<std::string> lines = {"kept"};
    EXPECT_FALSE(doc.GetMessageLines(-1, lines, true));
    EXPECT_FALSE(doc.GetMessageLines(1, lines, false));
    EXPECT_EQ(lines, (std::vector<std::string>{"kept"}));
}

TEST(DisplayLinesWithoutBlankLine, ShowOnlyTheShortHeader) {
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, Lines({kStart, kStatus, "Subject: s", "body?"})).ok());
    std::vector<std::string> lines;
    ASSERT_TRUE(doc.GetMessageLines(0, lines, false));
    EXPECT_EQ(lines, (std::vector<std::string>{"Subject: s\n"}));
}

}  // namespace
}  // namespace ek::test
