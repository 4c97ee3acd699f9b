// The MIME layer: charsets, header decoding, the body shown, attachments and their
// names, and bad input that must decode as far as it goes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/mail/Charset.h"
#include "core/mail/DecodedLines.h"
#include "core/mail/HeaderDecode.h"
#include "core/mail/HtmlText.h"
#include "core/mail/MimeMessage.h"
#include "core/mail/PartNames.h"
#include "core/mail/SaveAttachment.h"
#include "core/platform/Utf8.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

using namespace ek::mail;

struct CharsetCase {
    std::string bytes;
    std::string label;
    std::string utf8;
};

class CharsetRules : public ::testing::TestWithParam<CharsetCase> {};

TEST_P(CharsetRules, DecodeByLabelElseCp932) {
    const CharsetCase& c = GetParam();
    SCOPED_TRACE("label '" + c.label + "' bytes '" + c.bytes + "'");
    EXPECT_EQ(CharsetToUtf8(c.bytes, c.label), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Labels, CharsetRules,
    ::testing::Values(
        // ISO-2022-JP as Windows writes it: NEC row 13 (①, ㈱, №) and NEC-selected IBM
        // characters (纊 at JIS 0x7921) map through their Shift-JIS pairs.
        CharsetCase{"\x1b$B-!-j-b\x1b(B", "ISO-2022-JP", "①㈱№"},
        CharsetCase{"\x1b$By!\x1b(B", "iso-2022-jp", "纊"},
        CharsetCase{"\x1b$BF|K\\\x1b(Bok", "\"ISO-2022-JP\"", "日本ok"},
        CharsetCase{"\x1b(I12\x1b(B", "iso-2022-jp", "ｱｲ"},
        // A client converted the text to Shift-JIS but kept the label.
        CharsetCase{"\x93\xfa\x96\x7b", "ISO-2022-JP", "日本"},
        CharsetCase{"\x93\xfa\x96\x7b", "", "日本"},
        CharsetCase{"\x93\xfa\x96\x7b", "Shift_JIS", "日本"},
        CharsetCase{"caf\xc3\xa9", "UTF-8", "café"},
        CharsetCase{"\x93\xfa\x96\x7b", "utf-8", "日本"},  // invalid UTF-8: CP932
        CharsetCase{"caf\xe9", "ISO-8859-1", "café"},
        CharsetCase{"\x93\xfa\x96\x7b", "x-no-such-charset", "日本"},
        CharsetCase{"\xc6\xfc\xcb\xdc", "EUC-JP", "日本"}, CharsetCase{"\xff", "", "\xef\xbf\xbd"},
        CharsetCase{"a\x1b$B", "iso-2022-jp", "a"},
        // Latin-1 read as CP932: a stray lead byte before an ASCII letter costs no
        // letter, while a mapped pair with an ASCII second byte stays one character.
        CharsetCase{"ag\xfc"
                    "entei",
                    "x-unknown",
                    "ag\xef\xbf\xbd"
                    "entei"},
        CharsetCase{"E\xeb"
                    "da",
                    "",
                    "E\xef\xbf\xbd"
                    "da"},
        CharsetCase{"\x83\x41", "", "ア"}, CharsetCase{"\x81\x7f", "", "\xef\xbf\xbd\x7f"},
        CharsetCase{"\x1b$B!", "iso-2022-jp", "\xef\xbf\xbd"}));

TEST(CharsetRules, OutputIsAlwaysValidUtf8) {
    const std::string labels[] = {"", "utf-8", "iso-2022-jp", "euc-kr", "big5", "us-ascii"};
    std::string bytes;
    for (int b = 0; b < 256; ++b) {
        bytes += static_cast<char>(b);
        bytes += "\x1b$B";
    }
    for (const std::string& label : labels) {
        SCOPED_TRACE(label);
        EXPECT_TRUE(ek::utf8::IsValid(CharsetToUtf8(bytes, label)));
    }
}

struct HeaderCase {
    std::string raw;
    std::string decoded;
};

class HeaderWords : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderWords, Decode) {
    SCOPED_TRACE(GetParam().raw);
    EXPECT_EQ(DecodeHeaderText(GetParam().raw), GetParam().decoded);
}

INSTANTIATE_TEST_SUITE_P(
    Rfc2047, HeaderWords,
    ::testing::Values(HeaderCase{"=?ISO-2022-JP?B?GyRCLSEbKEI=?= sale", "① sale"},
                      HeaderCase{"=?utf-8?q?caf=C3=A9_au_lait?=", "café au lait"},
                      // Blanks between words vanish, so a character split across two words joins.
                      HeaderCase{"=?utf-8?b?5pel?=  =?utf-8?b?5pys?=", "日本"},
                      HeaderCase{"=?utf-8?B?5pc=?= =?utf-8?B?pQ==?=", "日"},
                      HeaderCase{"a =?utf-8?q?b?= c", "a b c"},
                      HeaderCase{"=?utf-8?q?unclosed", "=?utf-8?q?unclosed"},
                      HeaderCase{"=?utf-8?x?bad?=", "=?utf-8?x?bad?="},
                      HeaderCase{"=?utf-8?q?line=0Abreak=00?=", "line break "},
                      HeaderCase{"=?bogus?q?abc?=", "abc"},
                      HeaderCase{"=?utf-8?b?!!broken base64?=", "=?utf-8?b?!!broken base64?="},
                      HeaderCase{"\x93\xfa\x96\x7b raw", "日本 raw"},
                      HeaderCase{"=?ISO-2022-JP*ja?B?GyRCRnxLXBsoQg==?=", "日本"},
                      // A word folded in its middle: the fold's blanks are no text.
                      HeaderCase{"=?utf-8?b?5pel 5pys?=", "日本"},
                      HeaderCase{"=?ISO-2022-JP?B?GyRCRnxL\tXBsoQg==?= x", "日本 x"},
                      HeaderCase{"=?utf-8?q?caf =C3=A9?=", "café"},
                      HeaderCase{"=?utf-8?q?a b =?utf-8?q?c?=", "=?utf-8?q?a b c"},
                      HeaderCase{"=?utf 8?q?a?=", "=?utf 8?q?a?="}));

TEST(HeaderFields, FoldedLinesJoinAndEnvelopeIsSkipped) {
    std::vector<HeaderField> fields = SplitHeader(
        Stored("Subject: =?utf-8?q?one?=\n =?utf-8?q?two?=\nnot a field\nFrom: a@b\n\nBody: no\n"));
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0].name, "Subject");
    EXPECT_EQ(DecodeHeaderText(fields[0].rawValue), "onetwo");
    EXPECT_EQ(fields[1].rawValue, "a@b");
}

TEST(HeaderFields, RawBytesAndControlsInANameStayOneValidLine) {
    DecodedMessage message = DecodeMessage(Stored("\xff\x93\xfa\x7f-Agent: x\n\nbody\n"), 0);
    ASSERT_EQ(message.headerLines.size(), 1u);
    EXPECT_EQ(message.headerLines[0], "\xef\xbf\xbd\xe6\x97\xa5 -Agent: x\n");
}

TEST(SenderName, FirstAddressOfTheWholeField) {
    EXPECT_EQ(DecodeSenderName("=?utf-8?q?Doe=2C_John?= <j@x.org>, b@y.org"), "Doe, John");
    EXPECT_EQ(DecodeSenderName("\"=?ISO-2022-JP?B?GyRCRnxLXBsoQg==?=\" <a@b.jp>"), "日本");
    EXPECT_EQ(DecodeSenderName("<only@address.org>"), "only@address.org");
    EXPECT_EQ(DecodeSenderName("plain@address.org (Comment Name)"), "Comment Name");
    EXPECT_EQ(DecodeSenderName("Team: x@y.org, z@w.org;"), "Team");
    EXPECT_EQ(DecodeSenderName("\x93\xfa\x96\x7b <a@b.jp>"), "日本");
    EXPECT_EQ(DecodeSenderName(""), "");
    // Refused by the address parser, shown without the brackets; a bracket inside
    // keeps the text as it stands.
    EXPECT_EQ(DecodeSenderName("<aaa bbb>"), "aaa bbb");
    EXPECT_EQ(DecodeSenderName("<a <b>"), "<a <b>");
    EXPECT_EQ(DecodeSenderName("<>"), "<>");
}

TEST(ListFields, FirstFromAndSubjectInAnyCase) {
    ListFields fields = DecodeListFields(
        Stored("SUBJECT: =?utf-8?q?x?=\nfrom: N <n@m>\nSubject: second\n\nbody\n"));
    EXPECT_EQ(fields.subject, "x");
    EXPECT_EQ(fields.sender, "N");
    // A first line indented by mistake still names a field; later indented lines fold.
    fields = DecodeListFields(Stored(" From: I <i@j>\nSubject: a\n b\n\nbody\n"));
    EXPECT_EQ(fields.sender, "I");
    EXPECT_EQ(fields.subject, "a b");
}

const std::string kMixed =
    "From: a@b\nSubject: s\nMIME-Version: 1.0\n"
    "Content-Type: multipart/mixed; boundary=\"B\"\n\npreamble\n"
    "--B\nContent-Type: text/plain; name=\"notes.txt\"\nContent-Disposition: attachment\n\n"
    "attached text\n"
    "--B\nContent-Type: multipart/alternative; boundary=\"C\"\n\n"
    "--C\nContent-Type: text/html\n\n<p>html</p>\n"
    "--C\nContent-Type: text/plain; charset=iso-2022-jp\nContent-Transfer-Encoding: base64\n\n"
    "GyRCRnxLXBsoQgo=\n"
    "--C--\n"
    "--B\nContent-Type: image/png\nContent-Transfer-Encoding: base64\n"
    "Content-Disposition: attachment; filename*=UTF-8''%E5%86%99%E7%9C%9F.png\n\n"
    "iVBORw0KGgo=\n"
    "--B\nContent-Type: application/octet-stream\n\nxyz\n"
    "--B--\n";

TEST(DecodeMessage, BodyIsFirstInlineTextPartInTreeOrder) {
    DecodedMessage message = DecodeMessage(Stored(kMixed), 7);
    EXPECT_EQ(message.status, DecodeStatus::Ok);
    EXPECT_EQ(message.body, "日本\n");
    EXPECT_EQ(message.bodyPart, 3);
    ASSERT_EQ(message.attachments.size(), 4u);
    EXPECT_EQ(message.attachments[0].filename, "notes.txt");
    EXPECT_EQ(message.attachments[1].filename, "message7-part2.html");
    EXPECT_FALSE(message.attachments[1].named);
    EXPECT_EQ(message.attachments[2].filename, "写真.png");
    EXPECT_EQ(message.attachments[2].type, "image/png");
    EXPECT_EQ(message.attachments[2].size, 8u);
    EXPECT_EQ(message.attachments[3].part, 5);
    std::string bytes;
    ASSERT_TRUE(ReadPartBytes(Stored(kMixed), 4, bytes));
    EXPECT_EQ(bytes, "\x89PNG\r\n\x1a\n");
    EXPECT_FALSE(ReadPartBytes(Stored(kMixed), 6, bytes));
    EXPECT_FALSE(ReadPartBytes(Stored(kMixed), 0, bytes));
}

TEST(DecodeMessage, HtmlOnlyAndForwardedMessages) {
    DecodedMessage html = DecodeMessage(
        Stored(
            "Content-Type: text/html; charset=utf-8\n\n<p>Hi&amp;bye</p><a href=\"http://x.jp/\">"
            "site</a><br>end\n"),
        0);
    EXPECT_TRUE(html.bodyFromHtml);
    EXPECT_EQ(html.body, "Hi&bye\n\nsite <http://x.jp/>\nend\n");
    EXPECT_TRUE(html.attachments.empty());

    DecodedMessage forwarded = DecodeMessage(
        Stored("Content-Type: multipart/mixed; boundary=X\n\n--X\nContent-Type: image/gif\n\nGIF\n"
               "--X\nContent-Type: message/rfc822\n\nSubject: inner\n\ninner text\n--X--\n"),
        0);
    EXPECT_EQ(forwarded.body, "inner text\n");
    EXPECT_EQ(forwarded.bodyPart, 2);
}

TEST(DecodeMessage, DisplayLinesFollowTheHeaderSwitch) {
    DecodedMessage message =
        DecodeMessage(Stored("Received: x\nSubject: =?utf-8?q?caf=C3=A9?=\nTo: t@u\n\nline\n"), 0);
    DecodedLines all = BuildDecodedLines(message, true);
    EXPECT_EQ(all.lines, (std::vector<std::string>{"Received: x\n", "Subject: café\n", "To: t@u\n",
                                                   "\n", "line\n"}));
    EXPECT_FALSE(all.note);
    DecodedLines brief = BuildDecodedLines(DecodeMessage(Stored(kMixed), 0), false);
    EXPECT_EQ(brief.lines.front(), "From: a@b\n");
    EXPECT_TRUE(brief.note);
    EXPECT_EQ(brief.lines.back(), kAttachmentNoteUtf8);
}

// Bad input decodes as far as it goes and never throws, hangs or crashes.
TEST(DecodeMessage, BadInputDecodesAsFarAsItGoes) {
    const std::string cases[] = {
        "Content-Type: text/plain; charset=utf-8\nContent-Transfer-Encoding: base64\n\n"
        "5pel!!5pys\n",
        "Content-Type: text/plain; charset=utf-8\nContent-Transfer-Encoding: quoted-printable\n"
        "\nabc=E6=97=A5=E",
        "Content-Type: text/plain; charset=x-lies\n\n\x93\xfa\n",
        "Content-Type: multipart/mixed; boundary=never\n\n--never\n\nfirst part\n",
        "Content-Type: multipart/mixed; boundary=b\n\n--b\nContent-Type: text/plain\nno blank\n"
        "--b--\n",
        "Content-Type: multipart/mixed; boundary=\n\n--\n\n",
        "no header at all\n",
        "",
        "Subject: only a header\n",
    };
    for (const std::string& mime : cases) {
        SCOPED_TRACE(mime);
        DecodedMessage message = DecodeMessage(Stored(mime), 0);
        EXPECT_TRUE(ek::utf8::IsValid(message.body));
        for (const Attachment& attachment : message.attachments) {
            EXPECT_TRUE(ek::utf8::IsValid(attachment.filename));
        }
    }
    EXPECT_EQ(DecodeMessage(Stored(cases[0]), 0).body.substr(0, 6), "日本");
    EXPECT_EQ(DecodeMessage(Stored(cases[1]), 0).body.substr(0, 6), "abc日");
    EXPECT_EQ(DecodeMessage(Stored(cases[3]), 0).body, "first part\n");
    EXPECT_EQ(DecodeMessage(Stored(cases[6]), 0).body, "no header at all\n");
}

// A first header line indented by mistake still opens the header: the structure and
// the fields after it are read.
TEST(DecodeMessage, IndentedFirstHeaderLine) {
    const std::string mime =
        " From: A <a@b>\nSubject: s\nContent-Type: multipart/alternative; boundary=\"B\"\n"
        "\n--B\nContent-Type: text/plain\n\nA text section\n--B\nContent-Type: text/html\n\n"
        "<p>x</p>\n--B--\n";
    const DecodedMessage message = DecodeMessage(Stored(mime), 0);
    EXPECT_EQ(message.body, "A text section\n");
    ASSERT_FALSE(message.headerLines.empty());
    EXPECT_EQ(message.headerLines.front(), "From: A <a@b>\n");
    EXPECT_EQ(DecodeMessage(Stored(" \nSubject: s\n\nbody\n"), 0).body.find("body"), 0U)
        << "a first line of blanks only is no header line";
}

// Where the MIME structure cannot be read, the body shown is what follows the header
// lines shown above it, never the header a second time.
TEST(DecodeMessage, UnreadableStructureShowsTheHeaderOnce) {
    const std::string cases[] = {
        " From: a@b\nSubject: s\nContent-Type: multipart/mixed; boundary=b\n\nbody\n",
        "junk line\nSubject: s\n\nbody\n",
    };
    for (const std::string& mime : cases) {
        SCOPED_TRACE(mime);
        DecodedMessage message = DecodeMessage(Stored(mime), 0);
        EXPECT_FALSE(message.headerLines.empty());
        EXPECT_EQ(message.body, "body\n");
    }
}

struct Base64Case {
    std::string encoded;
    std::string bytes;
};

void PrintTo(const Base64Case& c, std::ostream* os) {
    *os << '"' << c.encoded << '"';
}

class Base64Parts : public ::testing::TestWithParam<Base64Case> {};

// A base64 body cut short, or padded wrongly, keeps every whole byte it holds, as
// other mail readers keep them: a last group of 2 or 3 characters is 1 or 2 bytes.
TEST_P(Base64Parts, KeepEveryWholeByte) {
    SCOPED_TRACE(GetParam().encoded);
    const std::string mime =
        "Content-Type: multipart/mixed; boundary=z\n\n--z\n\nhi\n--z\n"
        "Content-Type: application/octet-stream\nContent-Transfer-Encoding: base64\n\n" +
        GetParam().encoded + "\n--z--\n";
    DecodedMessage message = DecodeMessage(Stored(mime), 0);
    ASSERT_EQ(message.attachments.size(), 1u);
    EXPECT_EQ(message.attachments[0].size, GetParam().bytes.size());
    std::string bytes;
    ASSERT_TRUE(ReadPartBytes(Stored(mime), 2, bytes));
    EXPECT_EQ(bytes, GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Truncated, Base64Parts,
                         ::testing::Values(Base64Case{"QUJD", "ABC"},
                                           Base64Case{"QUJDREU=", "ABCDE"},
                                           Base64Case{"QUJDREU", "ABCDE"},
                                           Base64Case{"QUJDRA", "ABCD"}, Base64Case{"QUJDR", "ABC"},
                                           Base64Case{"QUJD\nREU", "ABCDE"},
                                           Base64Case{"QU!JD?REU", "ABCDE"}, Base64Case{"", ""}));

struct LabelCase {
    std::string encoded;
    std::string shown;
};

void PrintTo(const LabelCase& c, std::ostream* os) {
    *os << '"' << c.encoded << '"';
}

class Base64Label : public ::testing::TestWithParam<LabelCase> {};

// Words sent under a base64 label are shown as they stand, since their decoding is
// noise; base64 that only looks odd (blanks in it, cut short, padded) is decoded.
TEST_P(Base64Label, WordsAreShownAndBase64Decoded) {
    const std::string mime =
        "Content-Type: multipart/alternative; boundary=z\n\n--z\n"
        "Content-Type: text/plain; charset=\"UTF-8\"\nContent-Transfer-Encoding: base64\n\n" +
        GetParam().encoded + "--z\nContent-Type: text/html\n\n<p>x</p>\n--z--\n";
    EXPECT_EQ(DecodeMessage(Stored(mime), 0).body, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, Base64Label,
    ::testing::Values(LabelCase{"ploozdect  nispplul swunkglap\nploystoov  smohsless cregzass\n"
                                "smoorbrooft  pukstrooz\n",
                                "ploozdect  nispplul swunkglap\nploystoov  smohsless cregzass\n"
                                "smoorbrooft  pukstrooz\n"},
                      LabelCase{"the plan, as agreed!\nwe meet at noon.\n",
                                "the plan, as agreed!\nwe meet at noon.\n"},
                      LabelCase{"SGVsbG8g\nd29ybGQ=\n", "Hello world\n"},
                      LabelCase{"SGVsbG8g \nd29ybGQ= \n", "Hello world\n"},
                      LabelCase{"SGVs bG8g\nd29y bGQ=\n", "Hello world\n"},
                      LabelCase{"SGVsbG8gd29ybG\n", "Hello worl\n"}));

TEST(DecodeMessage, FiftyNestedMultipartsAndEveryTruncatedPrefix) {
    std::string nested = "Content-Type: multipart/mixed; boundary=b0\n\n";
    for (int i = 1; i <= 50; ++i) {
        nested += "--b" + std::to_string(i - 1) + "\nContent-Type: multipart/mixed; boundary=b" +
                  std::to_string(i) + "\n\n";
    }
    nested += "--b50\nContent-Type: text/plain\n\ndeep\n";
    EXPECT_EQ(DecodeMessage(Stored(nested), 0).body, "deep\n");

    const std::string whole = Stored(kMixed);
    for (std::size_t n = 0; n <= whole.size(); ++n) {
        DecodedMessage message = DecodeMessage(std::string_view(whole).substr(0, n), 0);
        ASSERT_TRUE(ek::utf8::IsValid(message.body)) << "prefix of " << n << " bytes";
    }
}

TEST(DecodeMessage, LargeAttachmentAndTortureTest) {
    const std::string line(76, 'A');
    std::string big =
        "Content-Type: multipart/mixed; boundary=z\n\n--z\n\nhi\n--z\n"
        "Content-Type: application/octet-stream\nContent-Transfer-Encoding: base64\n\n";
    for (int i = 0; i < 100000; ++i) {  // 5.7 MB decoded
        big += line + "\n";
    }
    big += "--z--\n";
    DecodedMessage message = DecodeMessage(Stored(big), 0);
    ASSERT_EQ(message.attachments.size(), 1u);
    EXPECT_EQ(message.attachments[0].size, 100000u * 57u);

    std::ifstream in(std::string(EKVIEW_MAIL_DATA_DIR) + "/mime-torture", std::ios::binary);
    std::string torture((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GT(torture.size(), 1000000u);
    std::string lf;
    for (char c : torture) {
        if (c != '\r') {
            lf += c;
        }
    }
    DecodedMessage tortured = DecodeMessage(Stored(lf), 0);
    EXPECT_EQ(tortured.status, DecodeStatus::Ok);
    EXPECT_GT(tortured.attachments.size(), 20u);
    EXPECT_TRUE(ek::utf8::IsValid(tortured.body));
}

TEST(HtmlText, ParagraphsBreaksLinksAndSkippedContent) {
    EXPECT_EQ(HtmlToText("<html><head><title>t</title><style>p{}</style></head>"
                         "<body>a  b<br/>c<div>d</div><script>x()</script>&#26085;&#x672C;&lt;"
                         "<!-- hidden --></body>"),
              "a b\nc\nd\n日本<\n");
    EXPECT_EQ(HtmlToText("<a href='#top'>top</a> <A HREF=http://e.jp>e</A>"),
              "top e <http://e.jp>\n");
    EXPECT_EQ(HtmlToText("unclosed <b"), "unclosed\n");
    EXPECT_EQ(HtmlToText("&#0;&#99999999;&bogus;"), "\xef\xbf\xbd\xef\xbf\xbd&bogus;\n");
}

struct NameCase {
    std::string name;
    std::string safe;
};

class SafeNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(SafeNames, NoFolderPartsReservedNamesOrControls) {
    SCOPED_TRACE(GetParam().name);
    EXPECT_EQ(SafeFileName(GetParam().name, "fallback.bin"), GetParam().safe);
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, SafeNames,
    ::testing::Values(NameCase{"report.pdf", "report.pdf"}, NameCase{"../../x", "x"},
                      NameCase{"a/b", "b"}, NameCase{"C:\\Windows\\win.ini", "win.ini"},
                      NameCase{"..", "fallback.bin"}, NameCase{"", "fallback.bin"},
                      NameCase{"CON", "_CON"}, NameCase{"con.txt", "_con.txt"},
                      NameCase{"Com1.log", "_Com1.log"}, NameCase{"console", "console"},
                      NameCase{"a\x01\tb\x7f.txt", "a__b_.txt"},
                      NameCase{"q?<>|*\".txt", "q______.txt"}, NameCase{" .hidden. ", "hidden"},
                      NameCase{"写真.jpg", "写真.jpg"}));

TEST(SafeNames, LongNamesAreCutOnACharacterBoundaryKeepingTheExtension) {
    std::string name;
    for (int i = 0; i < 1000; ++i) {
        name += "あ";
    }
    const std::string safe = SafeFileName(name + ".txt", "x");
    EXPECT_LE(safe.size(), kMaxFileNameBytes);
    EXPECT_TRUE(safe.ends_with("あ.txt"));
    EXPECT_TRUE(ek::utf8::IsValid(safe));
    EXPECT_EQ(SafeFileName(std::string(1000, 'a'), "x").size(), kMaxFileNameBytes);
}

TEST(SaveIntoFolder, NeverOverwritesAndNeedsAFolder) {
    TempFile existing("keep", "a.txt");
    SaveResult first = SaveIntoFolder(existing.dir(), "a.txt", "new");
    ASSERT_TRUE(first) << first.reason;
    EXPECT_EQ(std::filesystem::path(first.path).filename(), "a (2).txt");
    SaveResult second = SaveIntoFolder(existing.dir(), "a.txt", "newer");
    EXPECT_EQ(std::filesystem::path(second.path).filename(), "a (3).txt");
    std::ifstream kept(existing.path());
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(kept)), {}), "keep");
    EXPECT_EQ(NumberedName("archive", 2), "archive (2)");
    EXPECT_EQ(NumberedName(".profile", 2), ".profile (2)");
    EXPECT_EQ(SaveIntoFolder(existing.dir() + "/missing", "a.txt", "x").status,
              SaveStatus::NoFolder);
    EXPECT_EQ(SaveIntoFolder(existing.path(), "a.txt", "x").status, SaveStatus::NoFolder);
}

}  // namespace
}  // namespace ek::test
