// The text pane's message built line by line and styled per painted stretch, against
// the whole message's display: the same UTF-8 text and, for any stretch, the same
// styles as the whole message's runs give.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/platform/Cp932Decode.h"
#include "core/platform/Cp932Encode.h"
#include "core/views/ContentFormat.h"
#include "core/views/ContentText.h"
#include "core/views/FirstPart.h"

namespace ek {
namespace {

using Lines = std::vector<std::string>;
using namespace std::string_literals;

struct Reference {
    std::string text;
    std::vector<StyleRun> runs;
};

// The whole message at once: highlighting, runs, decoding and the UTF-8 of the control.
Reference WholeMessage(const Lines& lines, bool note, const std::string& marks, TextCoding coding) {
    const std::string joined = JoinLines(lines);
    const ContentDisplay display = coding == TextCoding::Cp932
                                       ? PrepareContentDisplay(lines, joined, note, marks)
                                       : PrepareDecodedContentDisplay(lines, joined, note, marks);
    Utf8Display shown = ToUtf8Display(display.text, display.runs);
    return {std::move(shown.text), std::move(shown.runs)};
}

void Build(ContentText& text, const Lines& lines, bool note, const std::string& marks,
           TextCoding coding, std::size_t sizeHint) {
    text.Begin(coding, sizeHint);
    for (const std::string& line : lines) {
        text.AppendLine(line);
    }
    text.Finish(note, marks);
}

std::string Show(const Lines& lines) {
    std::string shown;
    for (const std::string& line : lines) {
        shown.append("[").append(cp932::ToUtf8(line)).append("]");
    }
    return shown;
}

// Compares the text and the styles of every stretch of the given bounds.
void ExpectSameAsWhole(const Lines& lines, bool note, const std::string& marks, TextCoding coding,
                       const std::vector<std::size_t>& bounds) {
    SCOPED_TRACE("lines " + Show(lines) + " marks [" + marks + "] note " + std::to_string(note));
    const Reference whole = WholeMessage(lines, note, marks, coding);
    ContentText text;
    Build(text, lines, note, marks, coding, JoinLines(lines).size());
    ASSERT_EQ(text.Shown(), whole.text);
    for (std::size_t from : bounds) {
        for (std::size_t to : bounds) {
            if (from < to) {
                ASSERT_EQ(text.StylesInRange(from, to), StylesInRange(whole.runs, from, to))
                    << "stretch [" << from << ", " << to << ")";
            }
        }
    }
}

std::vector<std::size_t> EveryPosition(std::size_t size) {
    std::vector<std::size_t> bounds;
    for (std::size_t at = 0; at <= size + 2; ++at) {
        bounds.push_back(at);
    }
    return bounds;
}

TEST(ContentTextTest, NamedMessagesStyleEveryStretchAsTheWholeMessage) {
    struct Case {
        const char* name;
        std::vector<const char*> utf8Lines;
        bool note;
        const char* marks;
    };
    const Case cases[] = {
        {"empty", {}, false, ""},
        {"header only, bold names", {"Subject: 件名\n", "From: a@b.jp\n"}, false, ""},
        {"addresses and quotes",
         {"Subject: x\n", "\n", "資料 http://example.jp/a, と b.c@d.jp\n", "> 引用 http://x/\n",
          "＞全角\n"},
         false,
         "> ＞"},
        {"note after a quoted line",
         {"Date: 1\n", "\n", "> q\n", "(添付ファイルがあります)"},
         true,
         ">"},
        {"note that starts with a mark", {"\n", "(添付ファイルがあります)"}, true, "("},
        {"no blank line: the note is a header line",
         {"X: y\n", "(添付ファイルがあります)"},
         true,
         ""},
        {"carriage returns inside lines", {"A: b\r\n", "\n", "x\ry@z\r\n", "\r> q\n"}, false, ">"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Lines lines;
        for (const char* line : c.utf8Lines) {
            lines.push_back(cp932::FromUtf8(line));
        }
        const std::string marks = cp932::FromUtf8(c.marks);
        ExpectSameAsWhole(lines, c.note, marks, TextCoding::Cp932,
                          EveryPosition(JoinLines(lines).size() * 2));
        Lines utf8(c.utf8Lines.begin(), c.utf8Lines.end());
        ExpectSameAsWhole(utf8, c.note, c.marks, TextCoding::Utf8,
                          EveryPosition(JoinLines(utf8).size()));
    }
}

TEST(ContentTextTest, SecondBytesAndUndecodableBytesStyleWholeCharacters) {
    // "ア" is 0x83 0x41: the address before "@" starts on its second byte and takes the
    // whole character; a lone lead byte, 0x80 and NUL show as U+FFFD.
    const Lines lines = {"\n", "\x83\x41@x \x81\n", "\x80\x00q@r\xFF\n"s};
    const Reference whole = WholeMessage(lines, false, "", TextCoding::Cp932);
    ContentText text;
    Build(text, lines, false, "", TextCoding::Cp932, 0);
    EXPECT_EQ(text.Shown(),
              "\n\xE3\x82\xA2@x \xEF\xBF\xBD\n\xEF\xBF\xBD\xEF\xBF\xBDq@r\xEF\xBF\xBD\n");
    EXPECT_EQ(text.Shown(), whole.text);
    const int mail = StyleOfRun(RunColour::Mail, false);
    EXPECT_EQ(text.StylesInRange(0, 9),
              (std::vector<StyleSpan>{{0, 1, 0}, {1, 6, mail}, {6, 9, 0}}));
    ExpectSameAsWhole(lines, false, "", TextCoding::Cp932, EveryPosition(whole.text.size()));
}

TEST(ContentTextTest, DecodedTextKeepsWellFormedUtf8AndReplacesTheRest) {
    const Lines lines = {"\n", "a\xC3\xA9@b\x00\xE3\x81\n"s,
                         "\xF0\x9F\x98\x80 \xED\xA0\x80 \xC0\xAF \xFF\x88\x9F\n"};
    ContentText text;
    Build(text, lines, false, "", TextCoding::Utf8, 1);
    EXPECT_EQ(text.Shown(), WholeMessage(lines, false, "", TextCoding::Utf8).text);
    ExpectSameAsWhole(lines, false, "", TextCoding::Utf8, EveryPosition(text.Shown().size()));
}

TEST(ContentTextTest, ShownTextIsReleasedAndStylesStayAvailable) {
    const Lines lines = {"S: 1\n", "\n", "http://a\n"};
    ContentText text;
    Build(text, lines, false, "", TextCoding::Cp932, 3);
    const std::vector<StyleSpan> before = text.StylesInRange(0, 15);
    text.ReleaseShown();
    EXPECT_TRUE(text.Shown().empty());
    EXPECT_EQ(text.StylesInRange(0, 15), before);
    EXPECT_EQ(ContentText().StylesInRange(0, 4), (std::vector<StyleSpan>{{0, 4, 0}}));
}

// Random messages of many lines (so that stretches cross the remembered line starts),
// from pieces that hit every rule, every coding hazard and both line-end styles.
TEST(ContentTextTest, RandomMessagesStyleRandomStretchesAsTheWholeMessage) {
    const std::vector<std::string> pieces = {"http://",
                                             "@",
                                             ":",
                                             "a",
                                             "Z9",
                                             "_.-",
                                             " ",
                                             "\t",
                                             "\r",
                                             ">",
                                             "> ",
                                             "\x81\x84",
                                             "\x83\x41",
                                             "\x88\x9F",
                                             "\xB1",
                                             "\x81",
                                             "\x80",
                                             "\xFF",
                                             std::string(1, '\0'),
                                             "\xE3\x81\x82",
                                             "\xC3",
                                             "\xEF\xBF\xBD",
                                             "From - ",
                                             "Subject: ",
                                             "x@y.jp",
                                             "~"};
    std::mt19937 random(20261208);
    for (int round = 0; round < 60; ++round) {
        const TextCoding coding = round % 2 == 0 ? TextCoding::Cp932 : TextCoding::Utf8;
        Lines lines;
        const int count = static_cast<int>(random() % 300);
        for (int i = 0; i < count; ++i) {
            std::string line;
            if (random() % 8 == 0) {
                line.push_back('\n');
            } else {
                const int n = static_cast<int>(random() % 7);
                for (int k = 0; k < n; ++k) {
                    line += pieces[random() % pieces.size()];
                }
                line += "\n";
            }
            lines.push_back(line);
        }
        const bool note = random() % 2 == 0;
        if (note) {
            lines.emplace_back(coding == TextCoding::Cp932 ? std::string(kAttachmentNote)
                                                           : cp932::ToUtf8(kAttachmentNote));
        }
        const std::string marks = random() % 3 == 0 ? "" : random() % 2 == 0 ? "> \x81\x84" : ">";
        const std::size_t size = WholeMessage(lines, note, marks, coding).text.size();
        std::vector<std::size_t> bounds = {0, size, size + 5};
        for (int k = 0; k < 40; ++k) {
            bounds.push_back(size == 0 ? 0 : random() % size);
        }
        ExpectSameAsWhole(lines, note, marks, coding, bounds);
    }
}

TEST(ContentTextTest, DisplayConversionOfEveryPrefixMatchesTheDecoder) {
    const std::string bytes = cp932::FromUtf8("abcdefgh日本語ｱｲABCDEFGHIJ") +
                              std::string("\x00\x81\x40\x81\x7F\xA0\xFD\x81", 8);
    for (std::size_t size = 0; size <= bytes.size(); ++size) {
        const std::string_view prefix(bytes.data(), size);
        SCOPED_TRACE("prefix of " + std::to_string(size) + " bytes");
        std::string expected = cp932::ToUtf8(prefix);
        std::string replaced;
        for (char c : expected) {
            replaced += c == '\0' ? std::string("\xEF\xBF\xBD") : std::string(1, c);
        }
        // Exactly the room the function asks for: three bytes per input byte.
        std::vector<char> out(3 * size);
        char* end = cp932::WriteDisplayUtf8(prefix, out.data());
        EXPECT_EQ(std::string(out.data(), end), replaced);
    }
}

}  // namespace
}  // namespace ek
