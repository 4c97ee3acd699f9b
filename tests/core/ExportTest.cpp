// Export: the mboxrd and .eml bytes of a message, the "From " line's date, and the
// files written (temporary name, refusals, Cancel, write errors, nothing left over).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "core/document/Export.h"
#include "tests/support/HexBytes.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

namespace fs = std::filesystem;

std::string Mbox(const CEKViewDoc& doc, int index) {
    std::string out;
    AppendMboxMessage(out, doc, index);
    return out;
}

std::string Eml(const CEKViewDoc& doc, int index) {
    std::string out;
    AppendEmlMessage(out, doc, index);
    return out;
}

struct DateCase {
    const char* name;
    std::string startLine;
    std::string dateHeader;  // empty: no Date line
    std::string expected;
};

class MboxDateTest : public testing::TestWithParam<DateCase> {};

TEST_P(MboxDateTest, TakesTheStartLineThenTheDateHeaderThenTheEpoch) {
    const DateCase& c = GetParam();
    std::string bytes = c.startLine + "\n" + kStatus + "\n";
    if (!c.dateHeader.empty()) {
        bytes += "Date: " + c.dateHeader + "\n";
    }
    bytes += "\nbody\n";
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, bytes)) << bytes;
    EXPECT_EQ(MboxDate(doc, 0), c.expected) << bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Dates, MboxDateTest,
    testing::Values(DateCase{"AsWritten", "From - Sun Jan 02 15:04:05 2000",
                             "Mon, 3 Feb 2001 01:02:03", "Sun Jan 02 15:04:05 2000"},
                    DateCase{"NamesInAnyCase", "From - sun JAN 02 15:04:05 2000", "",
                             "Sun Jan 02 15:04:05 2000"},
                    DateCase{"LeapDay", "From - Tue Feb 29 00:00:00 2000", "",
                             "Tue Feb 29 00:00:00 2000"},
                    DateCase{"NoLeapDayIn1900", "From - Thu Feb 29 00:00:00 1900", "",
                             "Thu Jan 01 00:00:00 1970"},
                    DateCase{"NonsenseFallsToDateHeader", "From - Mon Feb 30 99:99:99 0000",
                             "Sun, 2 Jan 2000 15:04:05 +0900", "Sun Jan 02 15:04:05 2000"},
                    DateCase{"OddSeparators", "From - Sun-Jan/02.15x04y05z2000",
                             "Sat, 1 Jan 2000 00:00:00", "Sat Jan 01 00:00:00 2000"},
                    DateCase{"HourOutOfRange", "From - Sun Jan 02 24:00:00 2000", "",
                             "Thu Jan 01 00:00:00 1970"},
                    DateCase{"WeekdayComputedFromHeader", "From - Mon Feb 30 99:99:99 0000",
                             "9 May 2000 8:05:00 +0900", "Tue May 09 08:05:00 2000"},
                    DateCase{"TwoDigitYearAsTheKeyHasIt", "From - Mon Feb 30 99:99:99 0000",
                             "Tue, 02 Jan 00 10:00:00", "Tue Jan 02 10:00:00 1900"},
                    DateCase{"HeaderNotADate", "From - Mon Feb 30 99:99:99 0000",
                             "029 Jan 2000 10:00:00", "Thu Jan 01 00:00:00 1970"},
                    DateCase{"HeaderWithoutSeconds", "From - Mon Feb 30 99:99:99 0000",
                             "Sun, 2 Jan 2000 15:04 +0900", "Thu Jan 01 00:00:00 1970"},
                    DateCase{"NoDateAnywhere", "From - Mon Feb 30 99:99:99 0000", "",
                             "Thu Jan 01 00:00:00 1970"}),
    [](const testing::TestParamInfo<DateCase>& info) { return std::string(info.param.name); });

TEST(MboxMessage, QuotesEveryFromLineByOneMoreMarkAndKeepsAllOtherBytes) {
    CEKViewDoc doc;
    const std::string nul("a\0b", 3);
    ASSERT_TRUE(ReadInto(doc, Message({"Subject: \x93\xfa\x96\x7b"},
                                      {"From me", ">From you", ">>From them", "From",
                                       "From:", " From x", "Fromage", ">> From", nul, "From "})));
    EXPECT_EQ(Mbox(doc, 0),
              "From MAILER-DAEMON Sun Jan 02 15:04:05 2000\n" + kStatus +
                  "\nSubject: \x93\xfa\x96\x7b\n\n>From me\n>>From you\n>>>From them\nFrom\n"
                  "From:\n From x\nFromage\n>> From\n" +
                  nul + "\n>From \n\n");
}

// The quoting looks at line starts 64 bytes at a time: random bodies whose "From "
// lines, runs of '>' and Shift-JIS bytes with 0x46 ('F') fall across every window
// edge, checked against quoting line by line.
TEST(MboxMessage, QuotingAgreesWithALineByLineRuleAcrossWindowEdges) {
    const std::vector<std::string> pieces = {"From ",    ">",        ">>",   "F",  "From", "x", " ",
                                             "\x82\x46", "\x8a\x46", "rom ", "\n", "\n",   "\n"};
    std::mt19937 random(11);
    for (int round = 0; round < 400; ++round) {
        std::string body;
        const std::size_t length = 1 + random() % 300;
        while (body.size() < length) {
            body += pieces[random() % pieces.size()];
        }
        if (body.back() != '\n') {
            body += '\n';
        }
        std::string expected =
            "From MAILER-DAEMON Sun Jan 02 15:04:05 2000\n" + kStatus + "\nFrom: a\n";
        std::istringstream lines(body);
        for (std::string line; std::getline(lines, line);) {
            const std::size_t marks = line.find_first_not_of('>');
            const bool quoted = marks != std::string::npos && line.compare(marks, 5, "From ") == 0;
            expected += (quoted ? ">" : "") + line + "\n";
        }
        expected += "\n";
        CEKViewDoc doc;
        // With "From: " found, lines beginning with 'F' take the reader's quick path.
        const std::string bytes = kStart + "\n" + kStatus + "\nFrom: a\n" + body;
        ASSERT_TRUE(ReadInto(doc, bytes));
        ASSERT_EQ(doc.GetMessageCount(), 1) << HexBytes(bytes);
        ASSERT_EQ(Mbox(doc, 0), expected) << HexBytes(bytes);
    }
}

TEST(MboxMessage, AMessageOfOnlyItsStartPairOrWithoutABlankLine) {
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, kStart + "\n" + kStatus + "\n" + kStart + "\r\n" + kStatus +
                                  "\r\nSubject: no body\r\nFrom x"));
    ASSERT_EQ(doc.GetMessageCount(), 2);
    EXPECT_EQ(Mbox(doc, 0), "From MAILER-DAEMON Sun Jan 02 15:04:05 2000\n" + kStatus + "\n\n");
    EXPECT_EQ(Mbox(doc, 1), "From MAILER-DAEMON Sun Jan 02 15:04:05 2000\n" + kStatus +
                                "\nSubject: no body\n>From x\n\n");
    EXPECT_EQ(Eml(doc, 1), kStatus + "\r\nSubject: no body\r\nFrom x\r\n");
    EXPECT_EQ(Eml(doc, 0), kStatus + "\r\n");
}

TEST(EmlMessage, EndsEveryLineWithCrLfAndKeepsLoneCarriageReturns) {
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, Message({"Subject: a\rb"}, {"From x", "", "\x82\xa0"})));
    EXPECT_EQ(Eml(doc, 0), kStatus + "\r\nSubject: a\rb\r\n\r\nFrom x\r\n\r\n\x82\xa0\r\n");
}

TEST(EmlMessage, FileNamesArePaddedToTheWidthOfTheCount) {
    EXPECT_EQ(EmlFileName(0, 1), "1.eml");
    EXPECT_EQ(EmlFileName(8, 9), "9.eml");
    EXPECT_EQ(EmlFileName(0, 10), "01.eml");
    EXPECT_EQ(EmlFileName(99999, 100000), "100000.eml");
    EXPECT_EQ(EmlFileName(41, 100000), "000042.eml");
}

// A writer that fails once a given number of bytes went through, or on close.
class FailingFiles : public ExportFileMaker {
  public:
    explicit FailingFiles(std::size_t limit, bool failClose = false)
        : m_limit(limit), m_failClose(failClose) {}
    std::unique_ptr<ExportFile> Create(const std::string& path, std::string& reason) override {
        std::unique_ptr<ExportFile> real = StandardExportFiles().Create(path, reason);
        return real == nullptr ? nullptr : std::make_unique<File>(*this, std::move(real));
    }

  private:
    class File : public ExportFile {
      public:
        File(FailingFiles& owner, std::unique_ptr<ExportFile> real)
            : m_owner(owner), m_real(std::move(real)) {}
        bool Write(std::string_view bytes, std::string& reason) override {
            if (m_owner.m_written + bytes.size() > m_owner.m_limit) {
                reason = "No space left on device";
                return false;
            }
            m_owner.m_written += bytes.size();
            return m_real->Write(bytes, reason);
        }
        bool Close(std::string& reason) override {
            bool closed = m_real->Close(reason);
            if (m_owner.m_failClose) {
                reason = "Input/output error";
                return false;
            }
            return closed;
        }

      private:
        FailingFiles& m_owner;
        std::unique_ptr<ExportFile> m_real;
    };
    std::size_t m_limit;
    bool m_failClose;
    std::size_t m_written = 0;
};

class ExportFilesTest : public testing::Test {
  protected:
    void SetUp() override { Load(12); }

    void Load(int count) {
        std::string bytes;
        for (int i = 0; i < count; ++i) {
            // File order is the reverse of date order.
            bytes += Message({"Date: " + std::to_string(28 - i) + " Jan 2000 10:00:00",
                              "Subject: m" + std::to_string(i)},
                             {"From line " + std::to_string(i)});
        }
        std::ofstream(mailbox.path(), std::ios::binary) << bytes;
        ASSERT_TRUE(doc.OpenMailFile(mailbox.path()));
        original = ReadFile(mailbox.path());
        out = fs::path(mailbox.dir()) / "out";
        fs::create_directory(out);
    }

    ExportResult Export(ExportFormat format, const std::string& target,
                        std::vector<int> indexes = {}, bool replace = false,
                        ExportFileMaker& files = StandardExportFiles()) {
        CProgressDlg progress(&ui);
        progress.Create();
        return ExportMessages(doc, {format, target, std::move(indexes), replace}, progress, files);
    }

    std::string AllMbox(const std::vector<int>& indexes) {
        std::string bytes;
        for (int i : indexes) {
            AppendMboxMessage(bytes, doc, i);
        }
        return bytes;
    }

    void TearDown() override {
        EXPECT_EQ(ReadFile(mailbox.path()), original) << "the mailbox is never written";
    }

    TempFile mailbox{""};
    CEKViewDoc doc;
    std::string original;
    fs::path out;
    ProgressLog log;
    FakeProgressUi ui{log};
};

TEST_F(ExportFilesTest, WritesTheChosenMessagesInListOrderOnceEach) {
    std::string target = (out / "all.mbox").string();
    ExportResult all = Export(ExportFormat::Mbox, target);
    ASSERT_TRUE(all.ok()) << all.reason;
    EXPECT_EQ(all.written, 12);
    EXPECT_EQ(ReadFile(target), AllMbox({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_NE(ReadFile(target).find("Subject: m11\n"), std::string::npos);
    EXPECT_LT(ReadFile(target).find("Subject: m11\n"), ReadFile(target).find("Subject: m0\n"))
        << "date order, not file order";

    std::string some = (out / "some.mbox").string();
    ExportResult subset = Export(ExportFormat::Mbox, some, {7, 2, 7});
    ASSERT_TRUE(subset.ok()) << subset.reason;
    EXPECT_EQ(subset.written, 2);
    EXPECT_EQ(ReadFile(some), AllMbox({2, 7}));
    EXPECT_EQ(FileNames(out), (std::vector<std::string>{"all.mbox", "some.mbox"}));
    EXPECT_EQ(log.positions.back(), 100);
}

TEST_F(ExportFilesTest, WritesEmlFilesNamedByTheirNumbers) {
    fs::path folder = out / "eml";
    ExportResult result = Export(ExportFormat::Eml, folder.string() + "/", {0, 11});
    ASSERT_TRUE(result.ok()) << result.reason;
    EXPECT_EQ(FileNames(folder), (std::vector<std::string>{"01.eml", "12.eml"}));
    EXPECT_EQ(ReadFile(folder / "12.eml"), Eml(doc, 11));
    EXPECT_EQ(FileNames(out), std::vector<std::string>{"eml"}) << "no temporary folder left";
}

TEST_F(ExportFilesTest, RefusesAnExistingTargetUnlessReplacing) {
    fs::path target = out / "old.mbox";
    std::ofstream(target) << "old";
    ExportResult refused = Export(ExportFormat::Mbox, target.string());
    EXPECT_EQ(refused.status, ExportStatus::Refused);
    EXPECT_EQ(ReadFile(target), "old");
    ASSERT_TRUE(Export(ExportFormat::Mbox, target.string(), {3}, true).ok());
    EXPECT_EQ(ReadFile(target), AllMbox({3}));

    fs::path folder = out / "eml";
    fs::create_directory(folder);
    EXPECT_TRUE(Export(ExportFormat::Eml, folder.string(), {0}).ok()) << "an empty folder is free";
    EXPECT_EQ(Export(ExportFormat::Eml, folder.string(), {1}).status, ExportStatus::Refused);
    std::ofstream(folder / "02.eml") << "old";
    ASSERT_TRUE(Export(ExportFormat::Eml, folder.string(), {1}, true).ok());
    EXPECT_EQ(FileNames(folder), (std::vector<std::string>{"01.eml", "02.eml"}));
    EXPECT_EQ(ReadFile(folder / "02.eml"), Eml(doc, 1));
    EXPECT_EQ(FileNames(out), (std::vector<std::string>{"eml", "old.mbox"}));
}

// The plain path and a symbolic link are tried through ekview-cli; these two need the
// file system's identity of the file, not its name.
TEST_F(ExportFilesTest, RefusesTheMailboxThroughAHardLinkAndAsAnEmlFileToReplace) {
    fs::path hardLink = out / "hard.mbox";
    fs::create_hard_link(mailbox.path(), hardLink);
    EXPECT_EQ(Export(ExportFormat::Mbox, hardLink.string(), {}, true).status,
              ExportStatus::Refused);
    fs::path folder = out / "eml";
    fs::create_directory(folder);
    LinkTo(mailbox.path(), folder / "01.eml");
    EXPECT_EQ(Export(ExportFormat::Eml, folder.string(), {}, true).status, ExportStatus::Refused);
    EXPECT_EQ(FileNames(folder), std::vector<std::string>{"01.eml"});
}

TEST_F(ExportFilesTest, CancelLeavesNothingBehind) {
    // Enough messages for the throttled dialog to dispatch its events a few times.
    Load(2000);
    ui.onPump = [](CProgressDlg& dialog, int pump) {
        if (pump == 3) {
            dialog.OnCancel();
        }
    };
    EXPECT_EQ(Export(ExportFormat::Mbox, (out / "c.mbox").string()).status,
              ExportStatus::Cancelled);
    log.pumps = 0;
    EXPECT_EQ(Export(ExportFormat::Eml, (out / "eml").string()).status, ExportStatus::Cancelled);
    EXPECT_TRUE(FileNames(out).empty());
    EXPECT_TRUE(log.ownerEnabled);
}

TEST_F(ExportFilesTest, AWriteErrorLeavesNothingAndKeepsAReplacedFile) {
    std::ofstream(out / "keep.mbox") << "old";
    for (bool failClose : {false, true}) {
        SCOPED_TRACE(failClose ? "close fails" : "write fails");
        FailingFiles mboxFiles(failClose ? std::size_t(-1) : 100, failClose);
        ExportResult mbox =
            Export(ExportFormat::Mbox, (out / "keep.mbox").string(), {}, true, mboxFiles);
        EXPECT_EQ(mbox.status, ExportStatus::Failed);
        EXPECT_NE(mbox.reason.find(failClose ? "Input/output" : "No space"), std::string::npos)
            << mbox.reason;
        FailingFiles emlFiles(failClose ? std::size_t(-1) : 500, failClose);
        EXPECT_EQ(Export(ExportFormat::Eml, (out / "eml").string(), {}, false, emlFiles).status,
                  ExportStatus::Failed);
        EXPECT_EQ(FileNames(out), std::vector<std::string>{"keep.mbox"});
        EXPECT_EQ(ReadFile(out / "keep.mbox"), "old");
    }
}

// Quoted lines cut a message into many pieces: more than one gathered write holds,
// written by the system's writev and, for a file that only has Write, one by one.
TEST_F(ExportFilesTest, ManyQuotedLinesAcrossGatheredWrites) {
    std::string bytes;
    for (int m = 0; m < 3; ++m) {
        bytes += Message({"Subject: q" + std::to_string(m)});
        for (int i = 0; i < 1500; ++i) {
            bytes += (i % 3 == 0   ? ">From "
                      : i % 3 == 1 ? "From "
                                   : "x From ") +
                     std::to_string(i) + "\n";
        }
    }
    std::ofstream(mailbox.path(), std::ios::binary | std::ios::trunc) << bytes;
    ASSERT_TRUE(doc.ReadMailFile());
    original = ReadFile(mailbox.path());
    ASSERT_EQ(doc.GetMessageCount(), 3);
    const std::string expected = AllMbox({0, 1, 2});
    FailingFiles writeOnly(std::size_t(-1));
    for (ExportFileMaker* files :
         {&StandardExportFiles(), static_cast<ExportFileMaker*>(&writeOnly)}) {
        SCOPED_TRACE(files == &writeOnly ? "Write only" : "writev");
        fs::path target = out / "q.mbox";
        ExportResult result = Export(ExportFormat::Mbox, target.string(), {}, true, *files);
        ASSERT_TRUE(result.ok()) << result.reason;
        EXPECT_EQ(ReadFile(target), expected);
    }
    EXPECT_NE(expected.find("\n>>From 0\n>From 1\nx From 2\n"), std::string::npos);
}

}  // namespace
}  // namespace ek::test
