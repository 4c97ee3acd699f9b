// One message rendered for the text pane and `ekview-cli show`: which lines, the
// note, the quote marks in the lines' coding and the steps over the joined text.
#include "core/views/RenderMessage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/platform/Cp932Encode.h"
#include "core/views/FirstPart.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

using Texts = std::vector<std::string>;

const std::string kNote(kAttachmentNote);
const std::string kStartLine = kStart + "\n";
const std::string kStatusLine = kStatus + "\n";

Texts Owned(const std::vector<std::string_view>& lines) {
    return Texts(lines.begin(), lines.end());
}

std::string Show(const Texts& lines) {
    std::string shown;
    for (const std::string& line : lines) {
        shown += "[" + line + "]";
    }
    return shown;
}

struct StoredCase {
    const char* name;
    std::string mailbox;
    bool allHeaders;
    const char* marksUtf8;
    Texts expected;  // CP932
    bool note;
};

void PrintTo(const StoredCase& c, std::ostream* os) {
    *os << c.name;
}

const std::string kMultipart = Message(
    {"Subject: parts", "Content-Type: multipart/mixed; boundary=\"b1\""},
    {"preamble", "--b1", "Content-Type: text/plain", "", "first text", "--b1", "AAAA", "--b1--"});

const StoredCase kStoredCases[] = {
    {"AllHeadersKeepEveryStoredLine",
     Message({"Date: d", "X-Mailer: m", "From: f"}, {"see http://a.example/"}),
     true,
     "",
     {kStartLine, kStatusLine, "Date: d\n", "X-Mailer: m\n", "From: f\n", "\n",
      "see http://a.example/\n"},
     false},
    {"ShortHeaderKeepsTheFourKindsWithoutContinuations",
     Message({"Subject: s", " folded", "X-Mailer: m", "From: f"}, {"body"}),
     false,
     "",
     {"Subject: s\n", "From: f\n", "\n", "body\n"},
     false},
    {"MultipartIsCutToItsFirstPartWithTheNote",
     kMultipart,
     false,
     "",
     {"Subject: parts\n", "\n", "first text\n", kNote},
     true},
    {"MultipartWithoutADelimiterLineKeepsItsLines",
     Message({"Content-Type: multipart/mixed; boundary=\"b9\""}, {"text"}),
     false,
     "",
     {"\n", "text\n"},
     false},
    {"QuoteMarksAreMatchedInCp932",
     Message({"Subject: q"}, {cp932::FromUtf8("＞引用"), "> plain"}),
     false,
     "＞",
     {"Subject: q\n", "\n", cp932::FromUtf8("＞引用\n"), "> plain\n"},
     false},
};

class StoredRender : public testing::TestWithParam<StoredCase> {};

TEST_P(StoredRender, GivesTheDisplayLinesTheNoteAndTheirSteps) {
    const StoredCase& c = GetParam();
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, c.mailbox).ok());
    std::optional<RenderedMessage> message = RenderMessage(doc, 0, {c.allHeaders, c.marksUtf8, {}});
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->coding, TextCoding::Cp932);
    EXPECT_EQ(Show(Owned(message->lines)), Show(c.expected));
    EXPECT_EQ(message->note, c.note);
    EXPECT_EQ(message->quoteMarks, cp932::FromUtf8(c.marksUtf8));
    EXPECT_EQ(message->Text(), JoinLines(c.expected));
    EXPECT_EQ(message->TextSize(), JoinLines(c.expected).size());
    EXPECT_EQ(message->Steps(),
              BuildHighlightSteps(c.expected, c.note, cp932::FromUtf8(c.marksUtf8)));
}

INSTANTIATE_TEST_SUITE_P(Messages, StoredRender, testing::ValuesIn(kStoredCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StoredRender, StepsNameTheKindsOverTheJoinedText) {
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, kMultipart).ok());
    std::optional<RenderedMessage> message = RenderMessage(doc, 0, {false, "", {}});
    ASSERT_TRUE(message.has_value());
    // "Subject: parts\n" (15), "\n", "first text\n" (11), then the note.
    const std::vector<HighlightStep> expected = {{27, 27 + kNote.size(), HighlightKind::Note},
                                                 {0, 8, HighlightKind::Bold}};
    EXPECT_EQ(message->Steps(), expected);
}

// A stand-in for the MIME layer: it records what it was asked and answers `lines`.
struct FakeDecoder {
    Texts lines;
    bool note = false;
    bool found = true;
    int calls = 0;
    int index = -2;
    bool allHeaders = false;

    DecodeMessageLines Function() {
        return [this](const CEKViewDoc&, int i, bool all, Texts& out, bool& outNote) {
            ++calls;
            index = i;
            allHeaders = all;
            out = lines;
            outNote = note;
            return found;
        };
    }
};

struct DecodedCase {
    const char* name;
    Texts lines;  // UTF-8
    bool note;
    bool allHeaders;
    const char* marksUtf8;
};

void PrintTo(const DecodedCase& c, std::ostream* os) {
    *os << c.name;
}

const DecodedCase kDecodedCases[] = {
    {"ShortHeaderWithAQuote", {"Subject: 件名\n", "\n", "＞ 引用\n", "本文\n"}, false, false, "＞"},
    {"AllHeadersWithTheNote",
     {"From: 山田 <a@example.jp>\n", "\n", "http://a.example/ 本文\n", "(添付ファイルがあります)"},
     true,
     true,
     ""},
    {"NoLinesAtAll", {}, false, true, "> ＞"},
};

class DecodedRender : public testing::TestWithParam<DecodedCase> {};

TEST_P(DecodedRender, TakesTheDecodersLinesInUtf8) {
    const DecodedCase& c = GetParam();
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, Message({"Subject: a"}) + Message({"Subject: b"})).ok());
    FakeDecoder decoder{c.lines, c.note};
    std::optional<RenderedMessage> message =
        RenderMessage(doc, 1, {c.allHeaders, c.marksUtf8, decoder.Function()});
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(decoder.calls, 1);
    EXPECT_EQ(decoder.index, 1);
    EXPECT_EQ(decoder.allHeaders, c.allHeaders);
    EXPECT_EQ(message->coding, TextCoding::Utf8);
    EXPECT_EQ(message->note, c.note);
    EXPECT_EQ(message->quoteMarks, c.marksUtf8) << "the marks stay UTF-8";
    // The lines view the message's own copy, which a move carries along.
    RenderedMessage moved = std::move(*message);
    EXPECT_EQ(Show(Owned(moved.lines)), Show(c.lines));
    EXPECT_EQ(moved.Text(), JoinLines(c.lines));
    EXPECT_EQ(moved.Steps(), BuildHighlightSteps(c.lines, c.note, c.marksUtf8, TextCoding::Utf8));
}

INSTANTIATE_TEST_SUITE_P(Messages, DecodedRender, testing::ValuesIn(kDecodedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RenderMessageTest, NothingWithoutTheMessageOrItsDecoding) {
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, Message({"Subject: a"}, {"body"})).ok());
    FakeDecoder decoder{{"x\n"}};
    for (int index : {-1, 1, 1000}) {
        SCOPED_TRACE(index);
        EXPECT_FALSE(RenderMessage(doc, index, {true, "", {}}).has_value());
        EXPECT_FALSE(RenderMessage(doc, index, {true, "", decoder.Function()}).has_value());
    }
    EXPECT_EQ(decoder.calls, 0) << "no message is decoded outside the list";
    decoder.found = false;
    EXPECT_FALSE(RenderMessage(doc, 0, {true, "", decoder.Function()}).has_value());
    EXPECT_EQ(decoder.calls, 1);

    CEKViewDoc empty;
    EXPECT_FALSE(RenderMessage(empty, 0, {true, "", {}}).has_value());
}

}  // namespace
}  // namespace ek::test
