// The body found by the boundary scan equals the MIME parser's: on multipart cases
// that it reads and those it must leave to the parser, on random multipart messages,
// on generated mailboxes and on the sample mailbox.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "bench/GenMail.h"
#include "core/document/EKViewDoc.h"
#include "core/mail/BodyScan.h"
#include "core/mail/DecodedSearchText.h"
#include "core/mail/MimeMessage.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

using namespace ek::mail;

struct ScanCase {
    const char* name;
    std::string mime;
    bool scanned;  // read without the parse
};

class ScannedBody : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScannedBody, EqualsTheParsedBody) {
    const ScanCase& c = GetParam();
    SCOPED_TRACE(c.name);
    const std::string text = Stored(c.mime);
    std::string body = "untouched";
    EXPECT_EQ(DecodeScannedBody(text, body), c.scanned);
    const std::string parsed = DecodeMessage(text, 0).body;
    EXPECT_EQ(body, c.scanned ? parsed : "untouched");
    EXPECT_EQ(DecodeShownBody(text), parsed);
}

const std::string kMixed = "Content-Type: multipart/mixed; boundary=\"b1\"\n\n";
const std::string kPlainPart = "--b1\nContent-Type: text/plain; charset=\"Shift_JIS\"\n\n";
const std::string kAttachment =
    "--b1\nContent-Type: application/octet-stream; name=\"a.bin\"\n"
    "Content-Transfer-Encoding: base64\nContent-Disposition: attachment\n\nAAEC\n\n--b1--\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, ScannedBody,
    ::testing::Values(
        ScanCase{"text then attachment",
                 "MIME-Version: 1.0\n" + kMixed + "preamble\n\n" + kPlainPart +
                     "\x82\xA0 line\n\nlast\n\n" + kAttachment,
                 true},
        ScanCase{"plain one part", "Subject: a\n\nbody\n", true},
        ScanCase{"folded unquoted boundary",
                 "Content-Type: multipart/mixed;\n\tboundary==_0A1b\n\n--=_0A1b\n\nx\n--=_0A1b--\n",
                 true},
        ScanCase{"alternative in mixed",
                 kMixed +
                     "--b1\nContent-Type: multipart/alternative; boundary=b2\n\n--b2\n"
                     "Content-Type: text/plain; charset=utf-8\n\ncaf\xC3\xA9\n--b2\n"
                     "Content-Type: text/html\n\n<p>x</p>\n--b2--\n" +
                     kAttachment,
                 true},
        ScanCase{"no part header", kMixed + "--b1\n\nbare\n--b1--\n", true},
        ScanCase{"iso-2022-jp part",
                 kMixed + "--b1\nContent-Type: text/plain; charset=ISO-2022-JP\n"
                          "Content-Transfer-Encoding: 7bit\n\n\x1b$B$\"\x1b(B\n--b1--\n",
                 true},
        ScanCase{"near-delimiters in the text",
                 kMixed + kPlainPart + "--b\n-- b1\n--b1x--y\n" + "--b1--\n", false},
        ScanCase{"delimiter with trailing blank", kMixed + kPlainPart + "x\n--b1 \n--b1--\n",
                 false},
        ScanCase{"no closing delimiter", kMixed + kPlainPart + "x\n", false},
        ScanCase{"empty text", kMixed + kPlainPart + "--b1--\n", false},
        ScanCase{"cr lf before the delimiter", kMixed + kPlainPart + "x\r\n--b1--\n", false},
        ScanCase{"html first", kMixed + "--b1\nContent-Type: text/html\n\n<b>x</b>\n--b1--\n",
                 false},
        ScanCase{"attachment first", kMixed + kAttachment, false},
        ScanCase{"base64 text",
                 kMixed + "--b1\nContent-Transfer-Encoding: base64\n\neA==\n--b1--\n", false},
        ScanCase{"disposition on the text",
                 kMixed + "--b1\nContent-Disposition: inline\n\nx\n--b1--\n", false},
        ScanCase{"digest", "Content-Type: multipart/digest; boundary=b1\n\n--b1\n\nx\n--b1--\n",
                 false},
        ScanCase{"report with its report type",
                 "Content-Type: multipart/report; report-type=delivery-status;\n"
                 "\tboundary=\"b1\"\nContent-Description: bounce\n\n--b1\n"
                 "Content-Description: notice\nContent-Language: ja\n\nfailed\n--b1\n"
                 "Content-Type: message/delivery-status\n\nStatus: 5.0.0\n--b1--\n",
                 true},
        ScanCase{"another parameter",
                 "Content-Type: multipart/mixed; charset=x; boundary=b1\n\n--b1\n\nx\n--b1--\n",
                 true},
        ScanCase{"two boundaries",
                 "Content-Type: multipart/mixed; boundary=b1; boundary=b2\n\n--b1\n\nx\n--b1--\n",
                 false},
        ScanCase{"parameter without a value",
                 "Content-Type: multipart/mixed; format; boundary=b1\n\n--b1\n\nx\n--b1--\n",
                 false},
        ScanCase{"length on the text", kMixed + "--b1\nContent-Length: 2\n\nx\n--b1--\n", false},
        ScanCase{"boundary in RFC 2231",
                 "Content-Type: multipart/mixed; boundary*=b1\n\n--b1\n\nx\n--b1--\n", false},
        ScanCase{"outer delimiter ends the inner text",
                 kMixed + "--b1\nContent-Type: multipart/alternative; boundary=b2\n\n--b2\n\n"
                          "x\n--b1--\n",
                 false},
        ScanCase{"header line that is no field", kMixed + "--b1\nnot a field\n\nx\n--b1--\n",
                 false},
        ScanCase{"base64 multipart",
                 "Content-Type: multipart/mixed; boundary=b1\nContent-Transfer-Encoding: "
                 "base64\n\n--b1\n\nx\n--b1--\n",
                 false}));

// Random multiparts from pieces that matter to a boundary scan: near-delimiters, CR,
// blank lines, nested parts, every kind of first part.
class RandomMultipart {
  public:
    explicit RandomMultipart(unsigned seed) : m_random(seed) {}

    std::string Message() {
        const std::string boundary = Boundary();
        std::string mime = "MIME-Version: 1.0\n" + TypeLine(boundary) + "\n" + Text();
        return mime + Parts(boundary, 0);
    }

  private:
    std::size_t Below(std::size_t n) { return m_random() % n; }
    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[Below(items.size())];
    }

    std::string Boundary() { return Pick<std::string>({"b", "=_x9", "----=_Next_01.ab", "a'b+c"}); }

    std::string TypeLine(const std::string& boundary) {
        const std::string type =
            Pick<std::string>({"multipart/mixed", "multipart/alternative", "Multipart/Related",
                               "multipart/report; report-type=delivery-status",
                               "multipart/mixed; charset=\"a b\"", "multipart/digest"});
        switch (Below(4)) {
            case 0:
                return "Content-Type: " + type + "; boundary=" + boundary + "\n";
            case 1:
                return "Content-Type: " + type + ";\n\tboundary=\"" + boundary + "\"\n";
            case 2:
                return "Content-Type: " + type + "; boundary=\"" + boundary + "\";\n";
            default:
                return "Content-Type: " + type + "; boundary=\"" + boundary + "\"\n" +
                       "Content-Transfer-Encoding: " + Pick<std::string>({"7bit", "8bit"}) + "\n";
        }
    }

    std::string Text() {
        const std::vector<std::string> pieces = {
            "a",    "Z",   " ",        "\n",       "\r\n",         "\x82\xA0", "\x1b$B$\"\x1b(B",
            "--",   "--b", "--b--",    "--b \n",   "\n--b\n",      "\n\n",     "From ",
            "\xFF", "=?",  "\xC3\xA9", "\n--=_x9", "\n--a'b+c--\n"};
        std::string text;
        for (std::size_t n = Below(12); n > 0; --n) {
            text += Pick(pieces);
        }
        return text + "\n";
    }

    std::string PartHeader(int depth, std::string& nested) {
        std::vector<std::string> heads = {
            "",
            "Content-Type: text/plain; charset=\"Shift_JIS\"\nContent-Transfer-Encoding: 8bit\n",
            "Content-Type: text/plain; charset=ISO-2022-JP\n",
            "Content-Type: text/plain; charset=utf-8\n",
            "Content-Type: text/plain\n",
            "Content-Type: text/html\n",
            "Content-Type: text/plain\nContent-Transfer-Encoding: base64\n",
            "Content-Type: text/plain\nContent-Disposition: attachment\n",
            "Content-Type: application/octet-stream\n",
            "Content-Description: a\nContent-ID: <x@y>\n",
            "Content-Type: text/plain\nContent-Language: ja\n",
            "Content-Type: message/delivery-status\n",
            "Content-Location: a\n",
        };
        if (depth < 2 && Below(4) == 0) {
            nested = Boundary() + std::to_string(depth);
            return TypeLine(nested);
        }
        return Pick(heads);
    }

    std::string Parts(const std::string& boundary, int depth) {
        std::string body;
        for (std::size_t n = 1 + Below(3); n > 0; --n) {
            std::string nested;
            body += "--" + boundary + (Below(10) == 0 ? " " : "") + "\n";
            body += PartHeader(depth, nested) + "\n";
            body += nested.empty() ? Text() : Text() + Parts(nested, depth + 1);
        }
        if (Below(8) != 0) {
            body += "--" + boundary + "--\n";
        }
        return body + (Below(3) == 0 ? Text() : "");
    }

    std::mt19937 m_random;
};

TEST(ScannedBodyRandom, EqualsTheParsedBodyOnRandomMultiparts) {
    RandomMultipart random(8122026);
    int scanned = 0;
    constexpr int kRounds = 2000;
    for (int round = 0; round < kRounds; ++round) {
        const std::string text = Stored(random.Message());
        SCOPED_TRACE("round " + std::to_string(round) + ":\n" + text);
        std::string body;
        if (DecodeScannedBody(text, body)) {
            ++scanned;
            ASSERT_EQ(body, DecodeMessage(text, 0).body);
        }
    }
    // Enough of them are read by the scan for the comparison to mean something.
    EXPECT_GT(scanned, kRounds / 5);
}

// Every message of `doc`: the scanned body, where there is one, equals the parsed one.
void ExpectScanAgrees(const CEKViewDoc& doc, int& scanned) {
    for (int i = 0; i < doc.GetMessageCount(); ++i) {
        const std::string_view text = doc.MessageLines(i).text();
        std::string body;
        if (DecodeScannedBody(text, body)) {
            ++scanned;
            ASSERT_EQ(body, DecodeBody(text)) << "message " << i << ":\n" << text;
        }
    }
}

TEST(ScannedBodyMailboxes, AgreesOnGeneratedMailboxesAndTheSample) {
    for (std::uint64_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        gen::GenOptions options;
        options.seed = seed;
        options.messages = 600;
        const gen::MailGenerator generator(options);
        std::string box;
        for (std::uint64_t i = 0; i < options.messages; ++i) {
            generator.AppendMessage(i, box);
        }
        CEKViewDoc doc;
        ASSERT_TRUE(ReadInto(doc, box));
        int scanned = 0;
        ExpectScanAgrees(doc, scanned);
        // The generator writes about a tenth as multiparts, all with a text first.
        EXPECT_EQ(scanned, doc.GetMessageCount());
    }
    std::ifstream sample(EKVIEW_SAMPLES_DIR "/sample.mbx", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(sample), {}};
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, bytes));
    int scanned = 0;
    ExpectScanAgrees(doc, scanned);
    EXPECT_GT(scanned, 0);
}

}  // namespace
}  // namespace ek::test
