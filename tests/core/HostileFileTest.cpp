// Mailbox files that change while they are read, sources that break their word, and
// files that another process holds locked.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/document/EKViewDoc.h"
#include "core/document/MailReader.h"
#include "core/platform/NativePath.h"
#include "core/platform/ProgressDlg.h"
#include "core/platform/ReadOnlyFile.h"
#include "tests/support/HostileSupport.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

std::string Numbered(int from, int to) {
    std::string mailbox;
    for (int i = from; i < to; ++i) {
        mailbox += Message({"Subject: " + std::to_string(i)}, {"body " + std::to_string(i)});
    }
    return mailbox;
}

std::vector<std::string> Subjects(const MailboxText& mailbox) {
    std::vector<std::string> subjects;
    for (const MessageSpan& span : mailbox.messages) {
        for (std::string_view line :
             LineRange(std::string_view(mailbox.text.get() + span.offset, span.length))) {
            if (line.starts_with("Subject: ")) {
                subjects.emplace_back(line.substr(9, line.size() - 10));
                break;
            }
        }
    }
    return subjects;
}

std::vector<std::string> Names(int from, int to) {
    std::vector<std::string> names;
    for (int i = from; i < to; ++i) {
        names.push_back(std::to_string(i));
    }
    return names;
}

// Hands out `bytes` in chunks while announcing `announced` bytes; `onCall` runs before
// each call and may change what is left to hand out.
struct FickleSource {
    explicit FickleSource(std::string text) : bytes(std::move(text)) {}

    std::string bytes;
    std::size_t chunk = 4096;
    std::size_t offset = 0;
    int callsAfterEnd = 0;
    std::function<void(FickleSource&)> onCall;

    ByteSource AsSource() {
        return [this](char* buffer, std::size_t count, std::string&) -> long long {
            if (onCall) {
                onCall(*this);
            }
            if (offset >= bytes.size()) {
                ++callsAfterEnd;
                return 0;
            }
            std::size_t n = std::min({count, chunk, bytes.size() - offset});
            std::memcpy(buffer, bytes.data() + offset, n);
            offset += n;
            return static_cast<long long>(n);
        };
    }
};

TEST(ChangingSource, MoreBytesThanAnnouncedAreAllRead) {
    FickleSource fickle{Numbered(0, 20000)};
    fickle.chunk = 1 << 20;
    CProgressDlg progress;
    MailboxText mailbox;
    ASSERT_TRUE(ReadMailbox(fickle.AsSource(), 1024, progress, mailbox).ok());
    EXPECT_EQ(Subjects(mailbox), Names(0, 20000));
    EXPECT_EQ(fickle.callsAfterEnd, 1) << "the end is asked for once";
}

TEST(ChangingSource, FewerBytesThanAnnouncedEndTheRead) {
    FickleSource fickle{Numbered(0, 10)};
    CProgressDlg progress;
    MailboxText mailbox;
    ASSERT_TRUE(ReadMailbox(fickle.AsSource(), 50u << 20, progress, mailbox).ok());
    EXPECT_EQ(Subjects(mailbox), Names(0, 10));
}

TEST(ChangingSource, BytesThatShrinkOrGrowDuringTheReadStayConsistent) {
    const std::string whole = Numbered(0, 3000);
    for (bool grow : {false, true}) {
        SCOPED_TRACE(grow ? "grows" : "shrinks");
        FickleSource fickle{whole};
        int calls = 0;
        fickle.onCall = [&](FickleSource& source) {
            if (++calls == 3) {
                source.bytes =
                    grow ? whole + Numbered(3000, 4000) : whole.substr(0, whole.size() / 2);
            }
        };
        CProgressDlg progress;
        MailboxText mailbox;
        ASSERT_TRUE(ReadMailbox(fickle.AsSource(), whole.size(), progress, mailbox).ok());
        const std::vector<std::string> subjects = Subjects(mailbox);
        if (grow) {
            EXPECT_EQ(subjects, Names(0, 4000));
        } else {
            // The message cut in the middle is kept as far as it was written.
            ASSERT_FALSE(subjects.empty());
            const int last = static_cast<int>(subjects.size()) - 1;
            EXPECT_EQ(std::vector(subjects.begin(), subjects.end() - 1), Names(0, last));
            EXPECT_TRUE(std::to_string(last).starts_with(subjects.back())) << subjects.back();
            EXPECT_LT(subjects.size(), 3000u);
        }
    }
}

TEST(ChangingSource, AReadErrorKeepsTheMessagesCompletedBeforeIt) {
    const std::string whole = Numbered(0, 100);
    std::size_t offset = 0;
    const std::size_t failAt = whole.find("Subject: 42");
    ByteSource failing = [&](char* buffer, std::size_t count, std::string& reason) -> long long {
        if (offset == failAt) {
            reason = "Input/output error";
            return -1;
        }
        std::size_t n = std::min({count, std::size_t{1000}, failAt - offset});
        std::memcpy(buffer, whole.data() + offset, n);
        offset += n;
        return static_cast<long long>(n);
    };
    CProgressDlg progress;
    MailboxText mailbox;
    ReadResult result = ReadMailbox(failing, whole.size(), progress, mailbox);
    EXPECT_EQ(result.status, ReadStatus::ReadError);
    EXPECT_EQ(result.reason, "Input/output error");
    // Message 42 had begun; it is dropped with its start pair, 41 was complete.
    EXPECT_EQ(Subjects(mailbox), Names(0, 42));
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define EKVIEW_TEST_UNDER_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define EKVIEW_TEST_UNDER_ASAN 1
#endif

// A file far larger than memory, such as a sparse file of a terabyte, cannot be held:
// the read reports it instead of ending the program.
TEST(ChangingSource, ASizeBeyondMemoryIsAReadError) {
#ifdef EKVIEW_TEST_UNDER_ASAN
    GTEST_SKIP() << "AddressSanitizer ends the process on a failed allocation";
#else
    FickleSource fickle{Numbered(0, 3)};
    CProgressDlg progress;
    MailboxText mailbox;
    ReadResult result = ReadMailbox(fickle.AsSource(), std::uint64_t{1} << 62, progress, mailbox);
    EXPECT_EQ(result.status, ReadStatus::ReadError);
    EXPECT_EQ(result.reason, std::generic_category().message(ENOMEM));
    EXPECT_TRUE(mailbox.messages.empty());
#endif
}

// The real file, changed between the open and the read.
struct OpenedFile {
    TempFile file;
    ReadOnlyFile reader;
    explicit OpenedFile(const std::string& bytes) : file(bytes) {
        std::string reason;
        EXPECT_TRUE(reader.Open(file.path(), FileSharing::Exclusive, reason)) << reason;
    }
    ReadResult Read(MailboxText& mailbox) {
        ByteSource source = [this](char* buffer, std::size_t count, std::string& why) {
            return reader.Read(buffer, count, why);
        };
        CProgressDlg progress;
        return ReadMailbox(source, reader.Size(), progress, mailbox);
    }
};

#ifdef _WIN32

// Without sharing nobody can cut or extend the file while it is read.
TEST(ChangingFile, NobodyCanChangeTheFileWhileItIsRead) {
    OpenedFile opened(Numbered(0, 1000));
    std::error_code error;
    std::filesystem::resize_file(NativePath(opened.file.path()), 0, error);
    EXPECT_TRUE(error) << "the file was cut while it was open";
    std::ofstream more(NativePath(opened.file.path()), std::ios::binary | std::ios::app);
    EXPECT_FALSE(more.is_open()) << "the file was opened for writing while it was read";
    MailboxText mailbox;
    ASSERT_TRUE(opened.Read(mailbox).ok());
    EXPECT_EQ(Subjects(mailbox), Names(0, 1000));
}

#else

TEST(ChangingFile, TruncatedAfterTheOpen) {
    const std::string whole = Numbered(0, 1000);
    for (std::size_t keep : {std::size_t{0}, whole.find("Subject: 500") + 4}) {
        SCOPED_TRACE("kept " + std::to_string(keep));
        OpenedFile opened(whole);
        std::filesystem::resize_file(opened.file.path(), keep);
        MailboxText mailbox;
        ASSERT_TRUE(opened.Read(mailbox).ok());
        // The last message stops where the file now ends, in the middle of its header.
        EXPECT_EQ(Subjects(mailbox), Names(0, keep == 0 ? 0 : 500));
        EXPECT_EQ(mailbox.messages.size(), keep == 0 ? 0u : 501u);
    }
}

// A mapped file cut short while it is read, or afterwards: the pages that vanished
// read as zeros instead of ending the process, and a read that saw it says so.
TEST(ChangingFile, CutShortWhileMapped) {
    const std::string whole = Numbered(0, 20000);
    for (bool duringRead : {true, false}) {
        SCOPED_TRACE(duringRead ? "during the read" : "after the read");
        TempFile file(whole);
        ProgressLog log;
        FakeProgressUi ui(log);
        ui.onPump = [&](CProgressDlg&, int pump) {
            if (duringRead && pump == 1) {
                std::filesystem::resize_file(file.path(), 100);
            }
        };
        CEKViewDoc doc;
        doc.SetProgressUi(&ui);
        ASSERT_TRUE(doc.OnOpenDocument(file.path()).ok());
        doc.SetPathName(file.path());
        doc.SetMappedRead(true);
        ReadResult result = doc.ReadMailFile();
        if (duringRead) {
            EXPECT_EQ(result.status, ReadStatus::ReadError);
            EXPECT_FALSE(result.reason.empty());
        } else {
            ASSERT_TRUE(result.ok());
            std::filesystem::resize_file(file.path(), 100);
        }
        std::size_t seen = 0;
        for (int i = 0; i < doc.GetMessageCount(); ++i) {
            for (std::string_view line : doc.MessageLines(i)) {
                seen += line.size();
            }
            seen += doc.GetHeaderValue(i, "Subject: ").size();
        }
        EXPECT_GT(seen, 0u);
        EXPECT_GT(doc.GetMessageCount(), duringRead ? 0 : 19999);
    }
}

TEST(ChangingFile, GrownAfterTheOpen) {
    OpenedFile opened(Numbered(0, 10));
    {
        std::ofstream more(opened.file.path(), std::ios::binary | std::ios::app);
        more << Numbered(10, 50000);
    }
    MailboxText mailbox;
    ASSERT_TRUE(opened.Read(mailbox).ok());
    EXPECT_EQ(Subjects(mailbox), Names(0, 50000));
}

#endif

// ---- Locks held by another process ----

TEST(LockedFile, AWriterInAnotherProcessKeepsTheFileClosedUntilItLetsGo) {
    for (LockKind kind : {LockKind::Write, LockKind::WriteOnARange}) {
        SCOPED_TRACE(kind == LockKind::Write ? "whole file" : "a byte range");
        TempFile file(Numbered(0, 3));
        LockHolder writer(file.path(), kind);
        ASSERT_TRUE(writer.locked());
        CEKViewDoc doc;
        ReadResult opened = doc.OnOpenDocument(file.path());
        EXPECT_EQ(opened.status, ReadStatus::OpenFailed);
        EXPECT_EQ(opened.reason, ReadOnlyFile::kInUseReason);
        doc.m_strMailFile = file.path();
        doc.SetPathName(file.path());
        EXPECT_EQ(doc.ReadMailFile().status, ReadStatus::OpenFailed);
        EXPECT_EQ(doc.GetMessageCount(), 0);

        writer.Release();
        EXPECT_TRUE(doc.ReadMailFile().ok());
        EXPECT_EQ(doc.GetMessageCount(), 3);
    }
}

TEST(LockedFile, AnotherReaderIsWelcome) {
    TempFile file(Numbered(0, 3));
    LockHolder reader(file.path(), LockKind::Read);
    ASSERT_TRUE(reader.locked());
    CEKViewDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(file.path()).ok());
    doc.SetPathName(file.path());
#ifdef _WIN32
    // The read itself shares the file with nobody, readers included, until they go.
    ReadResult shared = doc.ReadMailFile();
    EXPECT_EQ(shared.status, ReadStatus::OpenFailed);
    EXPECT_EQ(shared.reason, ReadOnlyFile::kInUseReason);
    reader.Release();
#endif
    EXPECT_TRUE(doc.ReadMailFile().ok());
    EXPECT_EQ(doc.GetMessageCount(), 3);
}

}  // namespace
}  // namespace ek::test
