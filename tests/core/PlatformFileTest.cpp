// Mailbox files through the system's own calls: names in UTF-8 and in CP932 bytes,
// CR LF files with the end-of-text byte read from disk in binary, and the system's
// reasons. On Windows these go through CreateFileW and UTF-16 names.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/document/EKViewDoc.h"
#include "core/platform/NativePath.h"
#include "core/platform/ReadOnlyFile.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

// Well-formed UTF-8 (shortest forms of lead bytes, continuation bytes in place).
bool IsUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const std::size_t length = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

TEST(PlatformFile, Utf8NamesSurviveTheTripThroughTheSystem) {
    for (const std::string name : {"受信箱.mbx", "ｶﾀｶﾅ ① ☃.mbx", "plain.mbx"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(PathBytes(NativePath(name)), name);
        TempFile file(Message({"Subject: a"}), name);
        EXPECT_TRUE(std::filesystem::exists(NativePath(file.path())));
        bool found = false;
        for (const auto& entry : std::filesystem::directory_iterator(NativePath(file.dir()))) {
            found = found || PathBytes(entry.path().filename()) == name;
        }
        EXPECT_TRUE(found) << "the folder lists the name as it was given";
    }
}

// The mail program names its files in CP932; on Windows those bytes and the UTF-8
// spelling are the same name.
TEST(PlatformFile, Cp932BytesNameTheSameFileAsUtf8OnWindows) {
    const std::string utf8 = "受信箱.mbx";
    const std::string cp932 = "\x8e\xf3\x90\x4d\x94\xa0.mbx";
    TempFile file(Message({"Subject: a"}) + Message({"Subject: b"}), utf8);
    CEKViewDoc doc;
    const ReadResult result = doc.OpenMailFile(file.dir() + "/" + cp932);
#ifdef _WIN32
    ASSERT_TRUE(result.ok()) << result.reason;
    EXPECT_EQ(doc.GetMessageCount(), 2);
    EXPECT_EQ(PathBytes(NativePath(cp932)), utf8);
#else
    // POSIX names are bytes: the CP932 spelling is another name, and no file has it.
    EXPECT_EQ(result.status, ReadStatus::OpenFailed);
    EXPECT_EQ(PathBytes(NativePath(cp932)), cp932);
#endif
}

// Read in binary: CR LF ends lines like LF, a lone CR stays, 0x1A ends the text, and
// the bytes on disk are not translated by the C library's text mode.
TEST(PlatformFile, CrLfFilesWithEndOfTextReadFromDiskLikeLfFiles) {
    const std::string lf = Lines(
        {kStart, kStatus, "Subject: a\rb", "", "body", kStart, kStatus, "Subject: c", "", "end"});
    const std::string crlf = Lines(
        {kStart, kStatus, "Subject: a\rb", "", "body", kStart, kStatus, "Subject: c", "", "end"},
        "\r\n");
    CEKViewDoc expected;
    TempFile lfFile(lf);
    ASSERT_TRUE(expected.OpenMailFile(lfFile.path()).ok());
    for (const std::string& bytes :
         {crlf, crlf + "\x1a" + Message({"Subject: hidden"}), crlf.substr(0, crlf.size() - 2)}) {
        SCOPED_TRACE(bytes.size());
        TempFile file(bytes);
        CEKViewDoc doc;
        ASSERT_TRUE(doc.OpenMailFile(file.path()).ok());
        EXPECT_EQ(StoredMessages(doc), StoredMessages(expected));
    }
}

TEST(PlatformFile, TheSystemsReasonIsUtf8Text) {
    TempFile file("x");
    for (const std::string& path : {file.dir() + "/missing.mbx", file.dir() + "/none/x.mbx"}) {
        SCOPED_TRACE(path);
        ReadOnlyFile reader;
        std::string reason;
        EXPECT_FALSE(reader.Open(path, FileSharing::ReadersOnly, reason));
        EXPECT_FALSE(reason.empty());
        EXPECT_TRUE(IsUtf8(reason)) << reason;
        EXPECT_NE(reason.back(), '\n');
    }
}

TEST(PlatformFile, AnExclusiveReadKeepsOthersOutOnlyWhileItIsOpen) {
    TempFile file(Message({"Subject: a"}));
    ReadOnlyFile first;
    std::string reason;
    ASSERT_TRUE(first.Open(file.path(), FileSharing::Exclusive, reason)) << reason;
    ReadOnlyFile second;
#ifdef _WIN32
    EXPECT_FALSE(second.Open(file.path(), FileSharing::ReadersOnly, reason));
    EXPECT_EQ(reason, ReadOnlyFile::kInUseReason);
#else
    // POSIX read locks let readers share; only a writer's lock keeps them out.
    EXPECT_TRUE(second.Open(file.path(), FileSharing::ReadersOnly, reason)) << reason;
    second.Close();
#endif
    first.Close();
    EXPECT_TRUE(second.Open(file.path(), FileSharing::Exclusive, reason)) << reason;
}

}  // namespace
}  // namespace ek::test
