// ekview-cli's decoded output and its attachment commands, run as a process.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/ProcessSupport.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

using ProgramRun = ProcessResult;

class CliDecode : public testing::Test {
  protected:
    TempFile mailbox{
        Message({"Date: Sat, 1 Jan 2000 10:00:00",
                 "From: =?ISO-2022-JP?B?GyRCOzNFRBsoQg==?= <y@example.jp>",
                 "Subject: =?UTF-8?B?5pel5pys?=", "Content-Type: multipart/mixed; boundary=\"b\""},
                {"--b", "Content-Type: text/plain; charset=utf-8",
                 "Content-Transfer-Encoding: quoted-printable", "", "caf=C3=A9 a@b.jp", "--b",
                 "Content-Type: application/octet-stream; name=\"../../evil.bin\"",
                 "Content-Transfer-Encoding: base64", "", "AAEC", "--b", "Content-Type: image/gif",
                 "", "GIF89a", "--b--"}) +
        Message({"Date: Sun, 2 Jan 2000 10:00:00", "From: Plain <p@example.jp>", "Subject: raw"},
                {"text"})};
};

TEST_F(CliDecode, ListAndThreadsDecodeSenderAndSubject) {
    ProgramRun list = RunCli({"list", "--decode", "--json", mailbox.path()});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out,
              "{\"index\":0,\"date\":\"2000/01/01 10:00:00\",\"sender\":\"山田\","
              "\"subject\":\"日本\",\"multipart\":true}\n"
              "{\"index\":1,\"date\":\"2000/01/02 10:00:00\",\"sender\":\"Plain\","
              "\"subject\":\"raw\",\"multipart\":false}\n");
    ProgramRun threads = RunCli({"threads", "--decode", mailbox.path()});
    ASSERT_EQ(threads.exitCode, 0) << threads.err;
    EXPECT_NE(threads.out.find("山田"), std::string::npos) << threads.out;
    ProgramRun raw = RunCli({"list", "--json", mailbox.path()});
    EXPECT_NE(raw.out.find("=?UTF-8?B?5pel5pys?="), std::string::npos) << "off by default";
}

TEST_F(CliDecode, ShowGivesDecodedLinesStepsAndAttachments) {
    ProgramRun show =
        RunCli({"show", "--decode", "--json", "--short-headers", mailbox.path(), "0"});
    ASSERT_EQ(show.exitCode, 0) << show.err;
    EXPECT_EQ(
        show.out,
        "{\"index\":0,\"note\":true,\"lines\":[\"Date: Sat, 1 Jan 2000 10:00:00\\n\","
        "\"From: 山田 <y@example.jp>\\n\",\"Subject: 日本\\n\",\"\\n\",\"café a@b.jp\\n\","
        "\"(添付ファイルがあります)\"],\"steps\":[{\"start\":82,\"end\":88,\"attr\":\"mail\"},"
        "{\"start\":89,\"end\":124,\"attr\":\"note\"},{\"start\":0,\"end\":5,\"attr\":\"bold\"},"
        "{\"start\":31,\"end\":36,\"attr\":\"bold\"},{\"start\":59,\"end\":67,\"attr\":\"bold\"}],"
        "\"attachments\":[{\"part\":2,\"filename\":\"../../evil.bin\","
        "\"type\":\"application/octet-stream\",\"size\":3},{\"part\":3,"
        "\"filename\":\"message0-part3.gif\",\"type\":\"image/gif\",\"size\":6}]}\n");
}

// search --decode matches the decoded text and prints the rows of list --decode.
TEST_F(CliDecode, SearchDecodeMatchesDecodedTextAndPrintsDecodedRows) {
    const ProgramRun list = RunCli({"list", "--decode", "--json", mailbox.path()});
    const std::string row0 = list.out.substr(0, list.out.find('\n') + 1);
    const std::string row1 = list.out.substr(row0.size());
    const ProgramRun rawList = RunCli({"list", "--json", mailbox.path()});
    const std::string rawRow0 = rawList.out.substr(0, rawList.out.find('\n') + 1);
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const Case cases[] = {
        {{"--decode", "--in", "subject", "日本"}, row0},
        {{"--in", "subject", "日本"}, ""},  // the stored subject is an encoded word
        {{"--decode", "--in", "sender", "山田"}, row0},
        {{"--decode", "--in", "body", "CAFÉ"}, ""},  // only ASCII letters fold
        {{"--decode", "--in", "body", "café a@b"}, row0},
        {{"--decode", "--in", "body", "caf=C3"}, ""},
        {{"--in", "body", "caf=C3"}, rawRow0},           // stored rows without --decode
        {{"--decode", "--in", "body", "evil.bin"}, ""},  // attachments are no body
        {{"--decode", "--in", "header", "multipart/mixed"}, row0},
        {{"--decode", "TEXT raw"}, row1},
        {{"--decode", "회의"}, ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"search", "--json"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.push_back(mailbox.path());
        std::string shown;
        for (const std::string& arg : args) {
            shown += arg + " ";
        }
        SCOPED_TRACE(shown);
        const ProgramRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, c.out.empty() ? 1 : 0) << run.err;
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, "");
    }
    // For a terminal, the row list --decode prints.
    const ProgramRun terminal = RunCli({"search", "--decode", "日本", mailbox.path()});
    const ProgramRun listed = RunCli({"list", "--decode", mailbox.path()});
    EXPECT_EQ(terminal.exitCode, 0);
    EXPECT_EQ(terminal.out, listed.out.substr(0, listed.out.find('\n') + 1));
    EXPECT_EQ(RunCli({"search", "--decode", "--in", "cc", "x", mailbox.path()}).exitCode, 2);
}

TEST_F(CliDecode, AttachmentsAndExtractIntoTheChosenFolderOnly) {
    ProgramRun list = RunCli({"attachments", "--json", mailbox.path(), "0"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out.find("{\"part\":2,\"filename\":\"../../evil.bin\""), 0u) << list.out;

    TempFile target("", "unused");
    const std::string folder = target.dir() + "/out";
    std::filesystem::create_directory(folder);
    ProgramRun first = RunCli({"extract", mailbox.path(), "0", "--part", "2", "--to", folder});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.out, folder + "/evil.bin\n");
    EXPECT_EQ(ReadFile(folder + "/evil.bin"), std::string("\0\1\2", 3));
    ProgramRun all = RunCli({"extract", mailbox.path(), "0", "--to", folder});
    ASSERT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out, folder + "/evil (2).bin\n" + folder + "/message0-part3.gif\n");
    EXPECT_FALSE(std::filesystem::exists(target.dir() + "/evil.bin"));
}

TEST_F(CliDecode, ExtractRefusesMissingPartsMessagesAndFolders) {
    TempFile target("", "unused");
    EXPECT_EQ(
        RunCli({"extract", mailbox.path(), "0", "--part", "1", "--to", target.dir()}).exitCode, 1)
        << "part 1 is the body shown";
    EXPECT_EQ(
        RunCli({"extract", mailbox.path(), "0", "--part", "9", "--to", target.dir()}).exitCode, 1);
    EXPECT_EQ(RunCli({"extract", mailbox.path(), "5", "--to", target.dir()}).exitCode, 1);
    EXPECT_EQ(RunCli({"attachments", mailbox.path(), "-1"}).exitCode, 1);
    EXPECT_EQ(RunCli({"extract", mailbox.path(), "0", "--to", target.dir() + "/none"}).exitCode, 1);
    EXPECT_EQ(RunCli({"extract", mailbox.path(), "0"}).exitCode, 2);
    EXPECT_EQ(RunCli({"attachments", mailbox.path()}).exitCode, 2);
    std::size_t files = 0;
    for (auto it = std::filesystem::directory_iterator(target.dir());
         it != std::filesystem::directory_iterator(); ++it) {
        ++files;
    }
    EXPECT_EQ(files, 1u) << "only the scratch file";
}

}  // namespace
}  // namespace ek::test
