// Header mistakes of real mailers that the MIME layer repairs before GMime reads the
// message: each case has the structure of a message seen in real mail, and says what
// a reader is shown.
#include <gtest/gtest.h>

#include <string>

#include "core/mail/Charset.h"
#include "core/mail/HeaderDecode.h"
#include "core/mail/HeaderRepair.h"
#include "core/mail/MimeMessage.h"
#include "core/platform/Utf8.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

using namespace ek::mail;

std::string WithCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

struct RepairCase {
    const char* what;
    std::string mime;
    std::string body;            // the text shown
    std::string lastHeaderLine;  // the last decoded header line
    std::string attachmentName;  // the first attachment's, where there is one
};

void PrintTo(const RepairCase& c, std::ostream* os) {
    *os << c.what;
}

class HeaderRepair : public ::testing::TestWithParam<RepairCase> {};

TEST_P(HeaderRepair, ReadsTheStructureAReaderExpects) {
    const RepairCase& c = GetParam();
    for (const std::string& mime : {c.mime, WithCrLf(c.mime)}) {
        SCOPED_TRACE(mime);
        const DecodedMessage message = DecodeMessage(Stored(mime), 0);
        EXPECT_EQ(message.body, c.body);
        ASSERT_FALSE(message.headerLines.empty());
        if (mime == c.mime) {  // a CR in a header value is shown as a blank
            EXPECT_EQ(message.headerLines.back(), c.lastHeaderLine);
        }
        if (!c.attachmentName.empty()) {
            ASSERT_FALSE(message.attachments.empty());
            EXPECT_EQ(message.attachments.front().filename, c.attachmentName);
        }
        EXPECT_EQ(DecodeBody(Stored(mime)), c.body);
    }
}

INSTANTIATE_TEST_SUITE_P(
    RealMailers, HeaderRepair,
    ::testing::Values(
        RepairCase{"boundary on an unindented line after the type's ';'",
                   "Subject: s\nContent-Type: multipart/alternative;\nboundary=\"B\"\n\n"
                   "--B\nContent-Type: text/plain\n\nnotice\n--B\nContent-Type: text/html\n\n"
                   "<p>x</p>\n--B--\n",
                   "notice\n", "Content-Type: multipart/alternative; boundary=\"B\"\n", ""},
        RepairCase{"the same in the header of a part (a bounce's notification)",
                   "Subject: s\nContent-Type: multipart/report; boundary=\"A\"\n\n--A\n"
                   "Content-Type: multipart/alternative; differences=Content-Type;\n"
                   "boundary=\"B\"\n\n--B\nContent-Type: text/plain\n\nnotice\n--B--\n"
                   "--A\nContent-Type: message/delivery-status\n\nAction: failed\n--A--\n",
                   "notice\n", "Content-Type: multipart/report; boundary=\"A\"\n", ""},
        RepairCase{"a name parameter on an unindented line",
                   "Subject: s\nContent-Type: multipart/mixed; boundary=z\n\n--z\n\nhi\n--z\n"
                   "Content-Type: application/zip; x-unix-mode=0600;\nname=\"a.zip\"\n\n"
                   "PK\n--z--\n",
                   "hi\n", "Content-Type: multipart/mixed; boundary=z\n", "a.zip"},
        RepairCase{"a name parameter on an unindented line, a multipart further in",
                   "Subject: s\nContent-Type: multipart/mixed; boundary=y\n\n--y\n"
                   "Content-Type: multipart/mixed;\n boundary=z\n\n--z\n\nhi\n--z\n"
                   "Content-Type: application/zip;\nname=\"a.zip\"\n\nPK\n--z--\n--y--\n",
                   "hi\n", "Content-Type: multipart/mixed; boundary=y\n", "a.zip"},
        RepairCase{"two Content-Type fields: the first counts",
                   "Subject: s\nContent-Type: multipart/alternative; boundary=\"B\"\n"
                   "Content-type: text/plain\n\npreamble\n--B\nContent-Type: text/plain\n\n"
                   "foo\n--B\nContent-Type: text/html\n\n<p>foo</p>\n--B--\n",
                   "foo\n", "Content-type: text/plain\n", ""},
        RepairCase{"two Content-Type fields, the first without a subtype",
                   "Subject: s\nContent-Type: text\nContent-Type: multipart/mixed; boundary=B\n"
                   "\n--B\nContent-Type: text/plain\n\nfoo\n--B--\n",
                   "foo\n", "Content-Type: multipart/mixed; boundary=B\n", ""},
        RepairCase{"a header ended by a line of blanks",
                   "Subject: s\nOrganization: Q\n \nThe blank line has a space in it.\n",
                   "The blank line has a space in it.\n", "Organization: Q\n", ""},
        RepairCase{"a line of blanks before a field folds on",
                   "Subject: s\n \nX-Mailer: m\n\nbody\n", "body\n", "X-Mailer: m\n", ""},
        RepairCase{"no empty line before the body of a multipart",
                   "Subject: s\nContent-Type: multipart/alternative;\n boundary=\"B\"\n"
                   "This is a multi-part message in MIME format.\n--B\n"
                   "Content-Type: text/plain\n\nLorem\n--B\nContent-Type: text/html\n\n"
                   "<p>Lorem</p>\n--B--\n",
                   "Lorem\n", "Content-Type: multipart/alternative; boundary=\"B\"\n", ""},
        RepairCase{"a line that is no field, without the boundary after it, is skipped",
                   "junk line\nSubject: s\n\nbody\n", "body\n", "Subject: s\n", ""},
        RepairCase{"a MIME header quoted in a text body stays as it is",
                   "Subject: s\n\n--B\nContent-Type: multipart/mixed;\nboundary=x\n",
                   "--B\nContent-Type: multipart/mixed;\nboundary=x\n", "Subject: s\n", ""},
        RepairCase{"and so it does after a signature line in a multipart",
                   "Subject: s\nContent-Type: multipart/mixed; boundary=B\n\n--B\n\nhi\n-- \n"
                   "Content-Type: multipart/mixed;\nboundary=x\n--B--\n",
                   "hi\n-- \nContent-Type: multipart/mixed;\nboundary=x\n",
                   "Content-Type: multipart/mixed; boundary=B\n", ""}));

// Every prefix of each repaired message decodes to well-formed text, and the header a
// reader is given never reaches past the message.
TEST_P(HeaderRepair, EveryPrefixDecodes) {
    const std::string whole = Stored(GetParam().mime);
    for (std::size_t n = 0; n <= whole.size(); ++n) {
        const std::string_view prefix = std::string_view(whole).substr(0, n);
        const DecodedMessage message = DecodeMessage(prefix, 0);
        ASSERT_TRUE(utf8::IsValid(message.body)) << "prefix of " << n << " bytes";
        std::string storage;
        const std::string_view mime = WithoutEnvelope(prefix);
        ASSERT_LE(ReaderHeader(mime, storage).size(), mime.size() + 8) << n;
    }
}

// GMime finds a delimiter only within its read buffer; a boundary of thousands of
// bytes (a torture test's) still divides the parts, and a line that only resembles
// it stays text.
TEST(LongBoundary, StillDividesTheParts) {
    for (const std::size_t length : {999U, 5000U, 70000U}) {
        SCOPED_TRACE(length);
        const std::string b(length, 'b');
        const std::string mime = "Content-Type: multipart/mixed; boundary=\"" + b + "\"\n\n--" + b +
                                 "\nContent-Type: text/plain\n\nhi\n--" + b.substr(1) + "\n--" + b +
                                 "  \nContent-Type: application/zip\n\nPK\n--" + b + "--\n";
        const DecodedMessage message = DecodeMessage(Stored(mime), 0);
        EXPECT_EQ(message.body, "hi\n--" + b.substr(1) + "\n");
        ASSERT_EQ(message.attachments.size(), 1U);
        std::string bytes;
        ASSERT_TRUE(ReadPartBytes(Stored(mime), 2, bytes));
        EXPECT_EQ(bytes, "PK");
    }
}

TEST(ReaderHeader, UnchangedHeadersAreViewsOfTheMessage) {
    const std::string mime = "Subject: s\nContent-Type: text/plain\n\nbody\n";
    std::string storage;
    const std::string_view header = ReaderHeader(mime, storage);
    EXPECT_EQ(header, "Subject: s\nContent-Type: text/plain\n");
    EXPECT_EQ(header.data(), mime.data());
    EXPECT_EQ(RepairedMessage(mime, storage).data(), mime.data());
}

}  // namespace
}  // namespace ek::test
