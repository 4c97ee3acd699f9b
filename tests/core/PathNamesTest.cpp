// File names as bytes: readable forms, the profile's form and dropped URI lists.
#include <gtest/gtest.h>

#include "core/platform/PathNames.h"
#include "tests/support/HexBytes.h"

namespace ek::pathname {
namespace {

// 受信箱.mbx in CP932 and in UTF-8.
const std::string kCp932Inbox = "\x8e\xf3\x90M\x94\xa0.mbx";
const std::string kUtf8Inbox = "受信箱.mbx";

using test::HexBytes;

struct DisplayCase {
    std::string path;
    std::string display;
};

TEST(PathNamesTest, ShowsEachNameAsUtf8OrElseAsCp932) {
    const DisplayCase cases[] = {
        {"", ""},
        {"/home/me/inbox.mbx", "/home/me/inbox.mbx"},
        {"/home/me/" + kUtf8Inbox, "/home/me/" + kUtf8Inbox},
        {"/home/me/" + kCp932Inbox, "/home/me/" + kUtf8Inbox},
        // A UTF-8 folder with a Shift-JIS file in it: each part read on its own.
        {"/home/メール/" + kCp932Inbox, "/home/メール/" + kUtf8Inbox},
        {"/\x8e\xf3/" + kUtf8Inbox + "/", "/受/" + kUtf8Inbox + "/"},
        {kCp932Inbox, kUtf8Inbox},
        // Not UTF-8: a lone lead byte, UTF-8 cut inside a character, an overlong form.
        {"/a/\x8e", "/a/\xef\xbf\xbd"},
        {"/a/\xe5\x8f", "/a/蜿"},
        {"/\xc0\xaf", "/ﾀｯ"},
    };
    for (const DisplayCase& c : cases) {
        SCOPED_TRACE(HexBytes(c.path));
        EXPECT_EQ(ForDisplay(c.path), c.display);
    }
}

TEST(PathNamesTest, TheProfileFormKeepsEveryPathsBytes) {
    const DisplayCase cases[] = {
        {"/home/me/inbox.mbx", "/home/me/inbox.mbx"},
        {"/home/me/" + kUtf8Inbox, "/home/me/" + kUtf8Inbox},
        {"C:\\Mail\\" + kUtf8Inbox, "C:\\Mail\\" + kUtf8Inbox},
        {"/home/me/" + kCp932Inbox, "file:///home/me/%8E%F3%90M%94%A0.mbx"},
        {"/a b/%41\xff", "file:///a%20b/%2541%FF"},
        {"rel/\x8e", "file:rel/%8E"},
        // A path that looks like the encoded form is encoded itself.
        {"file:///x", "file:file%3A///x"},
        {"file:%41", "file:file%3A%2541"},
    };
    for (const DisplayCase& c : cases) {
        SCOPED_TRACE(HexBytes(c.path));
        EXPECT_EQ(ToProfile(c.path), c.display);
        EXPECT_EQ(FromProfile(ToProfile(c.path)), c.path);
    }
    // Every single byte and pair survives the round trip.
    for (int a = 1; a < 256; ++a) {
        for (int b : {0x20, 0x25, 0x41, 0x5C, 0x80, 0xA0, 0xFF}) {
            const std::string path = std::string("/") + static_cast<char>(a) + static_cast<char>(b);
            ASSERT_EQ(FromProfile(ToProfile(path)), path) << HexBytes(path);
        }
    }
    // Hand-edited values: bad escapes stay as written, other hosts are no local files.
    EXPECT_EQ(FromProfile("file:///a%4"), "/a%4");
    EXPECT_EQ(FromProfile("file:///a%zz"), "/a%zz");
    EXPECT_EQ(FromProfile("file://localhost/a%41"), "/aA");
    EXPECT_EQ(FromProfile("file://server/a"), "file://server/a");
}

struct UriListCase {
    std::string list;
    std::vector<std::string> files;
};

TEST(PathNamesTest, ReadsTheLocalFilesOfAUriList) {
    const UriListCase cases[] = {
        {"", {}},
        {"file:///tmp/a.mbx", {"/tmp/a.mbx"}},
        {"file:///tmp/a.mbx\r\n", {"/tmp/a.mbx"}},
        {"file:///tmp/%8E%F3%90M%94%A0.mbx\n", {"/tmp/" + kCp932Inbox}},
        {"file:///tmp/%E5%8F%97.mbx\r\nfile:///b\n", {"/tmp/受.mbx", "/b"}},
        {"# comment\r\nfile://localhost/c%20d\r\n", {"/c d"}},
        {"http://example.com/a\r\nfile://host/x\r\nfile:relative\r\nfile:///ok\r\n", {"/ok"}},
        // A list cut short, or ended by a NUL as some toolkits send it.
        {"file:///tmp/a%8", {"/tmp/a%8"}},
        {std::string("file:///z\0", 10), {"/z"}},
        {"\r\n\r\n", {}},
    };
    for (const UriListCase& c : cases) {
        SCOPED_TRACE(HexBytes(c.list));
        EXPECT_EQ(FilesOfUriList(c.list), c.files);
    }
}

}  // namespace
}  // namespace ek::pathname
