#include "core/views/FirstPart.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ek {
namespace {

using Lines = std::vector<std::string>;

std::string Show(const Lines& lines) {
    std::string shown;
    for (const std::string& line : lines) {
        shown += "[" + line + "]";
    }
    return shown;
}

TEST(FirstPartTest, NoteIsTheCp932TextOfTwelveCharacters) {
    EXPECT_EQ(kAttachmentNote.size(), 24u);
    EXPECT_EQ(kAttachmentNote.substr(0, 3), "(\x93\x59");
    EXPECT_EQ(kAttachmentNote.substr(22), "\xb7)");
}

TEST(FirstPartTest, WorkedExampleKeepsHeaderAndFirstPartText) {
    Lines lines = {"From: a@example.com\n",
                   "Subject: hi\n",
                   "\n",
                   "This is a multi-part message in MIME format.\n",
                   "\n",
                   "--b1\n",
                   "Content-Type: text/plain\n",
                   "\n",
                   "first text line\n",
                   "second text line\n",
                   "\n",
                   "--b1\n",
                   "Content-Type: application/octet-stream\n",
                   "\n",
                   "AAAA\n",
                   "--b1--\n"};
    EXPECT_TRUE(CutToFirstPart(lines, "--b1"));
    const Lines expected = {"From: a@example.com\n",     "Subject: hi\n",      "\n",
                            "first text line\n",         "second text line\n", "\n",
                            std::string(kAttachmentNote)};
    EXPECT_EQ(lines, expected);
}

struct CutCase {
    const char* name;
    Lines lines;
    const char* delimiter;
    Lines expected;  // kNote in it stands for the appended note
    bool noteAppended;
};

const std::string kNote(kAttachmentNote);

const CutCase kCutCases[] = {
    {"single text part closed by its delimiter",
     {"H: x\n", "\n", "--b\n", "Content-Type: text/plain\n", "\n", "text\n", "--b--\n"},
     "--b",
     {"H: x\n", "\n", "text\n", kNote},
     true},
    {"empty delimiter changes nothing",
     {"H: x\n", "\n", "--b\n", "\n", "text\n"},
     "",
     {"H: x\n", "\n", "--b\n", "\n", "text\n"},
     false},
    {"no blank line and no delimiter",
     {"From: a\n", "Subject: s\n"},
     "--b",
     {"From: a\n", "Subject: s\n"},
     false},
    {"no blank line, delimiter among the lines",
     {"From: a\n", "--b\n", "Subject: s\n"},
     "--b",
     {"From: a\n", kNote},
     true},
    {"blank line is the last line", {"H: x\n", "\n"}, "--b", {"H: x\n", "\n"}, false},
    {"no lines", {}, "--b", {}, false},
    {"no delimiter after the blank line",
     {"H: x\n", "\n", "body\n", "\n", "more\n"},
     "--b",
     {"H: x\n", "\n", "body\n", "\n", "more\n"},
     false},
    {"delimiter is case sensitive",
     {"H: x\n", "\n", "--B\n", "\n", "text\n"},
     "--b",
     {"H: x\n", "\n", "--B\n", "\n", "text\n"},
     false},
    {"no blank line after the first delimiter: the part's lines stay",
     {"H: x\n", "\n", "pre\n", "--b\n", "Content-Type: text/plain\n", "text\n"},
     "--b",
     {"H: x\n", "\n", "Content-Type: text/plain\n", "text\n"},
     false},
    {"no blank line after the first delimiter, closing delimiter follows",
     {"H: x\n", "\n", "--b\n", "Content-Type: text/plain\n", "text\n", "--b--\n", "epi\n"},
     "--b",
     {"H: x\n", "\n", "Content-Type: text/plain\n", "text\n", kNote},
     true},
    {"first delimiter is the last line",
     {"H: x\n", "\n", "pre\n", "--b\n"},
     "--b",
     {"H: x\n", "\n"},
     false},
    {"delimiter only in the header cuts there",
     {"X: a\n", "--b: odd\n", "Y: c\n", "\n", "body\n"},
     "--b",
     {"X: a\n", kNote},
     true},
    {"closing delimiter only, at the end",
     {"H: x\n", "\n", "pre\n", "--b--\n"},
     "--b",
     {"H: x\n", "\n"},
     false},
    {"closing delimiter only, then a blank line and an epilogue",
     {"H: x\n", "\n", "--b--\n", "\n", "epilogue\n"},
     "--b",
     {"H: x\n", "\n", "epilogue\n"},
     false},
    {"a longer line that begins with the delimiter counts",
     {"H: x\n", "\n", "--bx\n", "\n", "text\n", "--b\n"},
     "--b",
     {"H: x\n", "\n", "text\n", kNote},
     true},
    {"part without header lines",
     {"H: x\n", "\n", "--b\n", "\n", "text\n", "\n", "--b\n", "\n", "att\n"},
     "--b",
     {"H: x\n", "\n", "text\n", "\n", kNote},
     true},
};

TEST(FirstPartTest, CutsMalformedMultipartsSafely) {
    for (const CutCase& c : kCutCases) {
        SCOPED_TRACE(std::string(c.name) + ": " + Show(c.lines));
        Lines lines = c.lines;
        EXPECT_EQ(CutToFirstPart(lines, c.delimiter), c.noteAppended);
        EXPECT_EQ(Show(lines), Show(c.expected));
    }
}

TEST(FirstPartTest, FindHeaderEndIsTheFirstBlankLine) {
    EXPECT_EQ(FindHeaderEnd({"A: b\n", " c\n", "\n", "\n"}), 2u);
    EXPECT_EQ(FindHeaderEnd({"A: b\n", "c\n"}), 2u);
    EXPECT_EQ(FindHeaderEnd({"", "\n"}), 1u);
    EXPECT_EQ(FindHeaderEnd({}), 0u);
}

TEST(FirstPartTest, JoinLinesPutsNothingBetween) {
    EXPECT_EQ(JoinLines({}), "");
    EXPECT_EQ(JoinLines({"a\n", "\n", "b\n", kNote}), "a\n\nb\n" + kNote);
}

}  // namespace
}  // namespace ek
