// ekview-cli export and list --csv run as a process: what they write, their exit
// codes, and the bad inputs and targets that must leave nothing behind.
#ifndef _WIN32
#include <sys/mount.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "cli/CsvText.h"
#include "tests/support/ProcessSupport.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

namespace fs = std::filesystem;

using CliRun = ProcessResult;

class CliExport : public testing::Test {
  protected:
    void SetUp() override {
        out = fs::path(mailbox.dir()) / "out";
        fs::create_directory(out);
    }
    void TearDown() override { EXPECT_EQ(ReadFile(mailbox.path()), bytes); }

    std::string bytes = Message({"Date: Mon, 3 Jan 2000 10:00:00", "Subject: third, \"quoted\"",
                                 "Message-Id: <c@x>"},
                                {"From the body", ">From quoted"}) +
                        Message({"Date: Sat, 1 Jan 2000 10:00:00", "From: \x8e\x52\x93\x63 <y@x>",
                                 "Subject: \x93\xfa\x96\x7b"}) +
                        "From - Mon Feb 30 99:99:99 0000\n" + kStatus +
                        "\nDate: Sun, 2 Jan 2000 15:04:05\n\n" + std::string("nul\0byte\n", 9);
    TempFile mailbox{bytes};
    fs::path out;
};

TEST_F(CliExport, WritesAnMboxAndReportsTheCount) {
    std::string target = (out / "all.mbox").string();
    CliRun run = RunCli({"export", "--mbox", target, mailbox.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "3 messages written to " + target + "\n");
    EXPECT_EQ(ReadFile(target),
              "From MAILER-DAEMON Sun Jan 02 15:04:05 2000\n" + kStatus +
                  "\nDate: Sat, 1 Jan 2000 10:00:00\nFrom: \x8e\x52\x93\x63 <y@x>\nSubject: "
                  "\x93\xfa\x96\x7b\n\n\n"
                  "From MAILER-DAEMON Sun Jan 02 15:04:05 2000\n" +
                  kStatus + "\nDate: Sun, 2 Jan 2000 15:04:05\n\n" + std::string("nul\0byte\n", 9) +
                  "\n"
                  "From MAILER-DAEMON Sun Jan 02 15:04:05 2000\n" +
                  kStatus +
                  "\nDate: Mon, 3 Jan 2000 10:00:00\nSubject: third, \"quoted\"\nMessage-Id: "
                  "<c@x>\n\n>From the body\n>>From quoted\n\n");
    EXPECT_EQ(FileNames(out), std::vector<std::string>{"all.mbox"});
}

TEST_F(CliExport, WritesChosenMessagesAsEmlFiles) {
    fs::path folder = out / "eml";
    CliRun run = RunCli(
        {"export", "--eml", folder.string(), "--message", "2", "--message", "0", mailbox.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "2 messages written to " + folder.string() + "\n");
    EXPECT_EQ(FileNames(folder), (std::vector<std::string>{"1.eml", "3.eml"}));
    EXPECT_EQ(ReadFile(folder / "3.eml"),
              kStatus +
                  "\r\nDate: Mon, 3 Jan 2000 10:00:00\r\nSubject: third, \"quoted\"\r\n"
                  "Message-Id: <c@x>\r\n\r\nFrom the body\r\n>From quoted\r\n");
}

TEST_F(CliExport, ReplacesOrWritesIntoNonEmptyTargetsOnlyWithForce) {
    fs::path file = out / "old.mbox";
    std::ofstream(file) << "old";
    CliRun refused = RunCli({"export", "--mbox", file.string(), mailbox.path()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("--force"), std::string::npos) << refused.err;
    EXPECT_EQ(ReadFile(file), "old");
    EXPECT_EQ(RunCli({"export", "--force", "--mbox", file.string(), mailbox.path()}).exitCode, 0);
    EXPECT_NE(ReadFile(file), "old");

    fs::path folder = out / "eml";
    fs::create_directory(folder);
    std::ofstream(folder / "note.txt") << "mine";
    EXPECT_EQ(RunCli({"export", "--eml", folder.string(), mailbox.path()}).exitCode, 1);
    EXPECT_EQ(FileNames(folder), std::vector<std::string>{"note.txt"});
    EXPECT_EQ(RunCli({"export", "--eml", folder.string(), "--force", mailbox.path()}).exitCode, 0);
    EXPECT_EQ(FileNames(folder), (std::vector<std::string>{"1.eml", "2.eml", "3.eml", "note.txt"}));
    EXPECT_EQ(FileNames(out), (std::vector<std::string>{"eml", "old.mbox"}));
}

struct BadTarget {
    const char* name;
    std::vector<std::string> args;  // "@MBX" is the mailbox, "@OUT/" the output folder
    int exitCode;
    const char* errorPart;
};

// How the mailbox's open failure ends: the system's own words, which differ on Windows.
#ifdef _WIN32
constexpr const char* kNoSuchMailbox = "none.mbx: ";
#else
constexpr const char* kNoSuchMailbox = "No such file";
#endif

class CliExportRefusal : public CliExport, public testing::WithParamInterface<BadTarget> {};

TEST_P(CliExportRefusal, ExitsWithItsCodeAndLeavesNothing) {
    LinkTo(mailbox.path(), out / "link.mbx");
    std::ofstream(out / "file") << "x";
    std::vector<std::string> args;
    for (std::string arg : GetParam().args) {
        if (arg == "@MBX") {
            arg = mailbox.path();
        } else if (arg.rfind("@OUT/", 0) == 0) {
            arg = (out / arg.substr(5)).string();
        }
        args.push_back(arg);
    }
    CliRun run = RunCli(args);
    EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.err;
    EXPECT_NE(run.err.find(GetParam().errorPart), std::string::npos) << run.err;
    EXPECT_EQ(FileNames(out), (std::vector<std::string>{"file", "link.mbx"}));
}

INSTANTIATE_TEST_SUITE_P(
    Targets, CliExportRefusal,
    testing::Values(
        BadTarget{"NoTarget", {"export", "@MBX"}, 2, "--mbox OUT or --eml DIR is missing"},
        BadTarget{"TwoTargets",
                  {"export", "--mbox", "@OUT/a", "--eml", "@OUT/b", "@MBX"},
                  2,
                  "give one of"},
        BadTarget{"NoFile", {"export", "--mbox", "@OUT/a"}, 2, "FILE is missing"},
        BadTarget{"MessageWithoutValue",
                  {"export", "--mbox", "@OUT/a", "@MBX", "--message"},
                  2,
                  "needs a value"},
        BadTarget{"MessageNotANumber",
                  {"export", "--mbox", "@OUT/a", "--message", "x", "@MBX"},
                  2,
                  "message number"},
        BadTarget{"UnknownOption",
                  {"export", "--mbox", "@OUT/a", "--zip", "@MBX"},
                  2,
                  "unexpected argument"},
        BadTarget{"MessageOutside",
                  {"export", "--mbox", "@OUT/a", "--message", "3", "@MBX"},
                  1,
                  "no message 3"},
        BadTarget{"HugeMessageNumber",
                  {"export", "--mbox", "@OUT/a", "--message", "99999999999999999999", "@MBX"},
                  1,
                  "no message 99999999999999999999 ("},
        BadTarget{"NegativeMessageNumberAsTyped",
                  {"export", "--mbox", "@OUT/a", "--message", "-5", "@MBX"},
                  1,
                  "no message -5 ("},
        BadTarget{"TheMailboxItself",
                  {"export", "--force", "--mbox", "@MBX", "@MBX"},
                  1,
                  "is the open mailbox"},
        BadTarget{"ALinkToTheMailbox",
                  {"export", "--force", "--mbox", "@OUT/link.mbx", "@MBX"},
                  1,
                  "is the open mailbox"},
        BadTarget{
            "MboxIntoAFolder", {"export", "--force", "--mbox", "@OUT/", "@MBX"}, 1, "is a folder"},
        BadTarget{"EmlIntoAFile",
                  {"export", "--force", "--eml", "@OUT/file", "@MBX"},
                  1,
                  "is not a folder"},
        BadTarget{
            "FolderMissing", {"export", "--mbox", "@OUT/no/such.mbox", "@MBX"}, 1, "No such file"},
        BadTarget{"NotAMailFile",
                  {"export", "--mbox", "@OUT/a", "@OUT/file"},
                  1,
                  "EK-Mailメールファイルではありません"},
        BadTarget{
            "MissingMailbox", {"export", "--mbox", "@OUT/a", "@OUT/none.mbx"}, 1, kNoSuchMailbox}),
    [](const testing::TestParamInfo<BadTarget>& info) { return std::string(info.param.name); });

// A small tmpfs stands in for a full disk; mounting needs root, so others skip.
TEST_F(CliExport, AFullFileSystemIsAClearErrorWithNoPartialFile) {
#ifdef _WIN32
    GTEST_SKIP() << "a small file system to fill is a POSIX mount";
#else
    fs::path mount = out / "small";
    fs::create_directory(mount);
    if (geteuid() != 0 || ::mount("tmpfs", mount.c_str(), "tmpfs", 0, "size=16k") != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    std::string big = bytes;
    for (int i = 0; i < 200; ++i) {
        big += Message({"Subject: filler"}, {std::string(1000, 'x')});
    }
    TempFile large(big);
    for (const char* format : {"--mbox", "--eml"}) {
        SCOPED_TRACE(format);
        CliRun run = RunCli({"export", format, (mount / "target").string(), large.path()});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find("No space left on device"), std::string::npos) << run.err;
        EXPECT_TRUE(FileNames(mount).empty());
    }
    ::umount(mount.c_str());
#endif
}

// A folder nobody may write into: a read-only tmpfs, since root writes past modes.
TEST_F(CliExport, AFolderThatCannotBeWrittenIsAClearErrorAndStaysEmpty) {
#ifdef _WIN32
    GTEST_SKIP() << "a read-only file system is a POSIX mount";
#else
    fs::path mount = out / "readonly";
    fs::create_directory(mount);
    if (geteuid() != 0 || ::mount("tmpfs", mount.c_str(), "tmpfs", MS_RDONLY, "size=16k") != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    for (const char* format : {"--mbox", "--eml"}) {
        SCOPED_TRACE(format);
        CliRun run = RunCli({"export", format, (mount / "target").string(), mailbox.path()});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find("Read-only file system"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("nothing exported"), std::string::npos) << run.err;
        EXPECT_TRUE(FileNames(mount).empty());
    }
    ::umount(mount.c_str());
#endif
}

TEST_F(CliExport, AMessageOf200MegabytesIsExportedWhole) {
    const std::string line(999, 'y');
    std::string huge = Message({"Subject: huge"});
    huge.reserve(200u << 20);
    while (huge.size() < (200u << 20)) {
        huge += line;
        huge += '\n';
    }
    TempFile large(huge);
    huge.clear();
    huge.shrink_to_fit();
    fs::path target = out / "huge.mbox";
    CliRun run = RunCli({"export", "--mbox", target.string(), large.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string fromLine = "From MAILER-DAEMON Sun Jan 02 15:04:05 2000\n";
    EXPECT_EQ(fs::file_size(target),
              fs::file_size(large.path()) - kStart.size() - 1 + fromLine.size() + 1);
    std::ifstream in(target, std::ios::binary);
    std::string head(fromLine.size(), '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    EXPECT_EQ(head, fromLine);
}

TEST(CsvText, QuotesWhatRfc4180Requires) {
    EXPECT_EQ(cli::CsvField("plain 日本"), "plain 日本");
    EXPECT_EQ(cli::CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(cli::CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(cli::CsvField("two\r\nlines"), "\"two\r\nlines\"");
    EXPECT_EQ(cli::CsvField(" padded"), "\" padded\"");
    EXPECT_EQ(cli::CsvField(""), "");
    EXPECT_EQ(cli::CsvRecord({"a", "b,c", ""}), "a,\"b,c\",\r\n");
}

TEST_F(CliExport, ListsAsCsvInUtf8) {
    CliRun run = RunCli({"list", "--csv", mailbox.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "index,date,sender,subject,multipart,message_id\r\n"
              "0,2000/01/01 10:00:00,山田,日本,false,\r\n"
              "1,2000/01/02 15:04:05,,,false,\r\n"
              "2,2000/01/03 10:00:00,,\"third, \"\"quoted\"\"\",false,<c@x>\r\n");
    EXPECT_EQ(RunCli({"list", "--csv", "--json", mailbox.path()}).exitCode, 2);
}

}  // namespace
}  // namespace ek::test
