// ekview-cli: its terminal and JSON text, and the program run as a process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/StyledText.h"
#include "cli/TextOut.h"
#include "core/platform/Cp932Decode.h"
#include "tests/support/ProcessSupport.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

using cli::FitColumns;
using cli::JsonString;
using cli::TerminalText;

TEST(TerminalText, EscapesControlsAndDecodesCp932) {
    EXPECT_EQ(TerminalText("\x1b[2J\x07ok"), "\\x1b[2J\\x07ok");
    EXPECT_EQ(TerminalText("a\tb\rc\x7f"), "a\\tb\\rc\\x7f");
    EXPECT_EQ(TerminalText("\x93\xfa\x96\x7b"), "日本");
    EXPECT_EQ(TerminalText("\x82"), "\xef\xbf\xbd") << "a lone lead byte is U+FFFD";
}

TEST(TerminalText, FitsColumnsCountingWideCharacters) {
    EXPECT_EQ(FitColumns("日本語", 6), "日本語");
    EXPECT_EQ(FitColumns("日本語", 8), "日本語  ");
    EXPECT_EQ(FitColumns("日本語", 5), "日本…");
    EXPECT_EQ(FitColumns("日本語", 4), "日… ");
    EXPECT_EQ(FitColumns("abcdef", 4), "abc…");
}

TEST(JsonText, EscapesWhatJsonRequires) {
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString("\n\r\t\b\f\x01\x7f"), "\"\\n\\r\\t\\b\\f\\u0001\\u007f\"");
    EXPECT_EQ(JsonString("\xa0\xb1"), "\"\xef\xbf\xbd\xef\xbd\xb1\"") << "0xA0 bad, 0xB1 kana";
    EXPECT_EQ(JsonString(std::string("\0", 1)), "\"\\u0000\"");
}

// Plain ASCII goes out in runs: every other byte, and a pair whose trail byte is
// ASCII ('A', '\\', '~'), still comes out as one decoded character between the runs.
// The strings are built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on
// concatenations of temporaries.
TEST(JsonText, RunsOfPlainBytesKeepCharactersWhole) {
    // Wrapped in quotes, as JsonString writes a string that needs no escape.
    auto quoted = [](const std::string& utf8) {
        std::string out = "\"";
        out += utf8;
        out += '"';
        return out;
    };
    for (int b = 0x20; b < 0x100; ++b) {
        if (b == '"' || b == '\\' || b == 0x7F) {
            continue;
        }
        // A lead byte takes the 'c' after it as its trail byte.
        std::string text = "ab";
        text += static_cast<char>(b);
        text += "cd";
        SCOPED_TRACE("byte " + std::to_string(b));
        EXPECT_EQ(JsonString(text), quoted(cp932::ToUtf8(text)));
    }
    for (const char* pair : {"\x82"
                             "A",
                             "\x83\\", "\x81\x7e", "\x82\xa0"}) {
        std::string text = "x";
        text += pair;
        text += 'y';
        SCOPED_TRACE(std::string("pair ") + pair);
        EXPECT_EQ(JsonString(text), quoted(cp932::ToUtf8(text)));
        EXPECT_EQ(JsonString(pair), quoted(cp932::ToUtf8(pair)));
    }
}

TEST(StyledText, ColoursRunsAndExpandsTabs) {
    cli::Palette palette{settings::MakeColor(0, 0, 255), settings::MakeColor(0, 128, 0),
                         settings::MakeColor(128, 0, 0), settings::MakeColor(128, 128, 128)};
    std::vector<StyleRun> runs = {{0, 5, RunColour::None, true}, {6, 8, RunColour::Url, false}};
    EXPECT_EQ(cli::StyledText("Date: xy\n", runs, palette, true),
              "\x1b[0m\x1b[1mDate:\x1b[0m \x1b[0m\x1b[38;2;0;0;255mxy\x1b[0m\n");
    EXPECT_EQ(cli::StyledText("Date: xy\n", runs, palette, false), "Date: xy\n");
    EXPECT_EQ(cli::StyledText("a\tb\n\x93\xfa\tc", {}, palette, false), "a       b\n日      c");
}

using CliRun = ProcessResult;

class CliProgram : public testing::Test {
  protected:
    // Messages in file order: a reply (dated first), its parent, a multipart note.
    TempFile mailbox{
        Message({"Date: Sun, 2 Jan 2000 10:00:00", "From: \"\x8e\x52\x93\x63\" <y@example.jp>",
                 "Subject: Re: hi", "Message-Id: <b>", "In-Reply-To: <a>"},
                {"> quoted", "see http://example.jp/x, mail a+b@example.jp"}) +
        Message({"Date: Sat, 1 Jan 2000 10:00:00", "From: Taro <t@example.jp>",
                 "Subject: hi\x1b[31m", "Message-Id: <a>"}) +
        Message({"Date: Mon, 3 Jan 2000 10:00:00", "Subject: files",
                 "Content-Type: multipart/mixed; boundary=\"b1\""},
                {"--b1", "Content-Type: text/plain", "", "text", "--b1", "attachment", "--b1--"})};
};

TEST_F(CliProgram, ListsRowsInDateOrderAsJson) {
    CliRun run = RunCli({"list", "--json", mailbox.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\"index\":0,\"date\":\"2000/01/01 10:00:00\",\"sender\":\"Taro\","
              "\"subject\":\"hi\\u001b[31m\",\"multipart\":false}\n"
              "{\"index\":1,\"date\":\"2000/01/02 10:00:00\",\"sender\":\"山田\","
              "\"subject\":\"Re: hi\",\"multipart\":false}\n"
              "{\"index\":2,\"date\":\"2000/01/03 10:00:00\",\"sender\":\"\","
              "\"subject\":\"files\",\"multipart\":true}\n");
}

TEST_F(CliProgram, ListsRowsForATerminalWithoutRawControls) {
    CliRun run = RunCli({"list", mailbox.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
    EXPECT_NE(run.out.find("hi\\x1b[31m"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("+ "), std::string::npos) << "the multipart mark";
}

// search prints list's own rows for the matches, in list order.
TEST_F(CliProgram, SearchPrintsTheListRowsOfMatches) {
    CliRun list = RunCli({"list", "--json", mailbox.path()});
    auto rows = [&list](std::initializer_list<int> indexes) {
        std::istringstream lines(list.out);
        std::vector<std::string> all;
        for (std::string line; std::getline(lines, line);) {
            all.push_back(line + "\n");
        }
        std::string picked;
        for (int i : indexes) {
            picked += all.at(static_cast<std::size_t>(i));
        }
        return picked;
    };
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const Case cases[] = {
        {{"search", "--json", "HI"}, rows({0, 1})},
        {{"search", "--json", "--in", "subject", "re: hi"}, rows({1})},
        {{"search", "--json", "--in=sender", "taro"}, rows({0})},
        {{"search", "--json", "--in", "body", "\"mail a+b\" example"}, rows({1})},
        {{"search", "--json", "--in", "header", "multipart"}, rows({2})},
        {{"search", "--json", "--in", "to", "taro"}, ""},
        {{"search", "--json", "山田"}, rows({1})},
        {{"search", "--json", "--", "-1"}, ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back(mailbox.path());
        std::string shown;
        for (const std::string& arg : args) {
            shown += arg + " ";
        }
        SCOPED_TRACE(shown);
        CliRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, c.out.empty() ? 1 : 0) << run.err;
        EXPECT_EQ(run.out, c.out);
    }
    CliRun terminal = RunCli({"search", "files", mailbox.path()});
    CliRun listed = RunCli({"list", mailbox.path()});
    EXPECT_EQ(terminal.exitCode, 0);
    EXPECT_NE(terminal.out, "");
    EXPECT_NE(listed.out.find(terminal.out), std::string::npos) << terminal.out;
}

TEST_F(CliProgram, SearchRefusesBadQueriesAndArguments) {
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string err;  // a part of standard error
    };
    TempFile notMail("just text\n");
    const Case cases[] = {
        {{"search", "", mailbox.path()}, 2, "the query is empty"},
        {{"search", " \" \"\" ", mailbox.path()}, 2, "the query is empty"},
        {{"search", "\xED\xA0\x80", mailbox.path()}, 2, "not valid UTF-8"},
        {{"search", "회의", mailbox.path()}, 1, "Shift-JIS cannot"},
        {{"search", "--in", "cc", "x", mailbox.path()}, 2, "unknown field 'cc'"},
        {{"search", "--in"}, 2, "--in needs a field"},
        {{"search", "x"}, 2, "FILE is missing"},
        {{"search", "x", mailbox.path(), "more"}, 2, "unexpected argument"},
        {{"search", "hi", notMail.path()}, 1, "EK-Mailメールファイルではありません"},
        {{"search", "hi", notMail.dir() + "/none.mbx"}, 1, "none.mbx"},
        {{"search", std::string(10000, 'x') + "\x01\x1b[2J", mailbox.path()}, 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.err);
#ifdef _WIN32
        // A Windows command line is UTF-16: bytes that are no UTF-8 cannot be passed.
        if (c.err == "not valid UTF-8") {
            continue;
        }
#endif
        CliRun run = RunCli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
}

TEST_F(CliProgram, ListsThreadsWithDepths) {
    CliRun run = RunCli({"threads", "--json", mailbox.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(
        run.out,
        "{\"row\":0,\"index\":0,\"depth\":0,\"multipart\":false,"
        "\"date\":\"2000/01/01 10:00:00\",\"sender\":\"Taro\",\"subject\":\"hi\\u001b[31m\"}\n"
        "{\"row\":1,\"index\":1,\"depth\":1,\"multipart\":false,"
        "\"date\":\"2000/01/02 10:00:00\",\"sender\":\"山田\",\"subject\":\"Re: hi\"}\n"
        "{\"row\":2,\"index\":2,\"depth\":0,\"multipart\":true,"
        "\"date\":\"2000/01/03 10:00:00\",\"sender\":\"\",\"subject\":\"files\"}\n");
    CliRun text = RunCli({"threads", mailbox.path()});
    EXPECT_NE(text.out.find("└Re: hi"), std::string::npos) << text.out;
}

TEST_F(CliProgram, ShowsAMessageWithItsSteps) {
    CliRun run =
        RunCli({"show", "--json", "--short-headers", "--quote", "> ｜", mailbox.path(), "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\"index\":1,\"note\":false,\"lines\":[\"Date: Sun, 2 Jan 2000 10:00:00\\n\","
              "\"From: \\\"山田\\\" <y@example.jp>\\n\",\"Subject: Re: hi\\n\",\"\\n\","
              "\"> quoted\\n\",\"see http://example.jp/x, mail a+b@example.jp\\n\"],"
              // Lines start at 0, 31, 59, 75, 76 and 85 (the From line's name is 4 bytes).
              "\"steps\":[{\"start\":89,\"end\":109,\"attr\":\"url\"},"
              "{\"start\":117,\"end\":129,\"attr\":\"mail\"},"
              "{\"start\":76,\"end\":85,\"attr\":\"quote\"},"
              "{\"start\":0,\"end\":5,\"attr\":\"bold\"},"
              "{\"start\":31,\"end\":36,\"attr\":\"bold\"},"
              "{\"start\":59,\"end\":67,\"attr\":\"bold\"}]}\n");
}

TEST_F(CliProgram, ShowsTheFirstPartWithTheNote) {
    CliRun run = RunCli({"show", "--short-headers", "--color=never", mailbox.path(), "2"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "Date: Mon, 3 Jan 2000 10:00:00\nSubject: files\n\ntext\n"
              "(添付ファイルがあります)\n");
    CliRun all = RunCli({"show", "--color=always", mailbox.path(), "0"});
    EXPECT_NE(all.out.find("\x1b[1mFrom -"), std::string::npos) << all.out;
    EXPECT_NE(all.out.find("hi\\x1b[31m"), std::string::npos) << "mail text stays escaped";
}

TEST_F(CliProgram, ReportsErrorsWithTheirExitCodes) {
    CliRun outside = RunCli({"show", mailbox.path(), "3"});
    EXPECT_EQ(outside.exitCode, 1);
    EXPECT_NE(outside.err.find("no message 3"), std::string::npos) << outside.err;
    EXPECT_EQ(RunCli({"show", mailbox.path(), "-1"}).exitCode, 1);
    EXPECT_EQ(RunCli({"show", mailbox.path(), "x"}).exitCode, 2);

    TempFile notMail("just text\n");
    CliRun empty = RunCli({"list", notMail.path()});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.err, "EK-Mailメールファイルではありません\n");

    CliRun missing = RunCli({"list", notMail.dir() + "/nothing.mbx"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("nothing.mbx"), std::string::npos) << missing.err;

    EXPECT_EQ(RunCli({}).exitCode, 2);
    EXPECT_EQ(RunCli({"list"}).exitCode, 2);
    EXPECT_EQ(RunCli({"frobnicate", mailbox.path()}).exitCode, 2);
    CliRun help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Usage: ekview-cli"), std::string::npos);
    EXPECT_NE(RunCli({"--version"}).out.find("1.51"), std::string::npos);
}

TEST(CliSample, ListsTheBundledSample) {
    CliRun run = RunCli({"list", "--json", std::string(EKVIEW_SAMPLES_DIR) + "/sample.mbx"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 12);
}

}  // namespace
}  // namespace ek::test
