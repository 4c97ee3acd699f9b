// The search of decoded text: the body read without the MIME parse equals the parsed
// one, each field holds the decoded view's text, encoded text matches decoded and not
// raw, and the search equals a slow literal search on random decoded mailboxes.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/document/EKViewDoc.h"
#include "core/document/MailSearch.h"
#include "core/mail/DecodedSearchText.h"
#include "core/mail/MimeMessage.h"
#include "core/platform/Cp932Encode.h"
#include "tests/support/TestSupport.h"

namespace ek::test {
namespace {

using namespace ek::mail;
using search::SearchField;

std::string Base64(std::string_view bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        unsigned value = static_cast<unsigned char>(bytes[i]) << 16;
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        if (n > 1) {
            value |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        }
        if (n > 2) {
            value |= static_cast<unsigned char>(bytes[i + 2]);
        }
        for (std::size_t k = 0; k < 4; ++k) {
            out += k <= n ? kDigits[(value >> (18 - 6 * k)) & 63] : '=';
        }
    }
    return out;
}

std::string EncodedWord(std::string_view utf8) {
    return "=?UTF-8?B?" + Base64(utf8) + "?=";
}

// --- The body without the parse ----------------------------------------------

struct BodyCase {
    const char* name;
    std::string mime;
    bool plain;  // read without the parse
};

class PlainBody : public ::testing::TestWithParam<BodyCase> {};

TEST_P(PlainBody, EqualsTheParsedBody) {
    const BodyCase& c = GetParam();
    SCOPED_TRACE(c.name);
    const std::string text = Stored(c.mime);
    std::string body = "untouched";
    EXPECT_EQ(DecodePlainBody(text, body), c.plain);
    const std::string parsed = DecodeMessage(text, 0).body;
    EXPECT_EQ(body, c.plain ? parsed : "untouched");
    EXPECT_EQ(DecodeShownBody(text), parsed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlainBody,
    ::testing::Values(
        BodyCase{"no content fields", "Subject: a\n\nline 1\nline 2\n", true},
        BodyCase{"cp932 bytes", "Subject: a\n\n\x82\xA0\x83\x41\n", true},
        BodyCase{"folded quoted charset",
                 "Content-Type: text/plain;\n\tcharset=\"Shift_JIS\"\n"
                 "Content-Transfer-Encoding: 8bit\n\n\x82\xA0\n",
                 true},
        BodyCase{"iso-2022-jp",
                 "Content-Type: text/plain; charset=ISO-2022-JP\n\n\x1b$B$\"\x1b(B x\n", true},
        BodyCase{"utf-8 in capitals", "Content-Type: TEXT/PLAIN; Charset=UTF-8;\n\ncaf\xC3\xA9\n",
                 true},
        BodyCase{"7bit", "Content-Transfer-Encoding: 7BIT\n\nplain\n", true},
        BodyCase{"cr lf", "Subject: a\n\nx\r\ny\r\n\r\n", true},
        BodyCase{"blank lines at the end", "Subject: a\n\nx\n\n\n", true},
        BodyCase{"no last line feed", "Subject: a\n\nx", true},
        BodyCase{"empty body", "Subject: a\n\n", true},
        BodyCase{"mbox-like lines", "Subject: a\n\nFrom me\n>From you\n--b\n", true},
        BodyCase{"base64", "Content-Transfer-Encoding: base64\n\n" + Base64("text\n") + "\n",
                 false},
        BodyCase{"quoted-printable", "Content-Transfer-Encoding: quoted-printable\n\nx=3Dy\n",
                 false},
        BodyCase{"multipart", "Content-Type: multipart/mixed; boundary=b\n\n--b\n\ninner\n--b--\n",
                 false},
        BodyCase{"html", "Content-Type: text/html\n\n<p>x &amp; y</p>\n", false},
        BodyCase{"attachment", "Content-Disposition: attachment\n\nx\n", false},
        BodyCase{"charset in RFC 2231", "Content-Type: text/plain; charset*=utf-8''x\n\nx\n",
                 false},
        BodyCase{"another parameter", "Content-Type: text/plain; format=flowed\n\nx\n", false},
        BodyCase{"type without subtype", "Content-Type: text\n\nx\n", false},
        BodyCase{"two types", "Content-Type: text/plain\nContent-Type: text/html\n\nx\n", false},
        BodyCase{"header without end", "Subject: a\n", false},
        BodyCase{"a line that is no field", "Subject: a\nnot a field\n\nbody\n", false},
        BodyCase{"continuation first", " x\nSubject: a\n\nbody\n", false}));

TEST(PlainBodyRandom, EqualsTheParsedBodyOnRandomPlainMessages) {
    const std::vector<std::string> heads = {
        "",
        "Content-Type: text/plain; charset=\"Shift_JIS\"\nContent-Transfer-Encoding: 8bit\n",
        "Content-Type: text/plain; charset=ISO-2022-JP\n",
        "Content-Type: text/plain; charset=utf-8\n",
        "Content-Type: text/plain;\n charset=us-ascii\n",
        "Content-Type: text/plain; charset=euc-jp\n",
    };
    const std::vector<std::string> pieces = {
        "a",    "Z",      " ",    "\t",     "\n",       "\r\n",         "\r",    "\x82\xA0",
        "\x83", "\x1b$B", "$\"",  "\x1b(B", "\xC3\xA9", "\xE4\xBC\x9A", "From ", "--",
        "=?",   "?=",     "\xFF", "\x00",   "=3D",      "<br>",         "\n\n"};
    std::mt19937 random(8122026);
    for (int round = 0; round < 300; ++round) {
        std::string mime =
            "Subject: r" + std::to_string(round) + "\n" + heads[random() % heads.size()] + "\n";
        for (std::size_t n = random() % 40; n > 0; --n) {
            mime += pieces[random() % pieces.size()];
        }
        const std::string text = Stored(mime);
        SCOPED_TRACE("round " + std::to_string(round));
        std::string body;
        ASSERT_TRUE(DecodePlainBody(text, body));
        ASSERT_EQ(body, DecodeMessage(text, 0).body);
    }
}

// --- Fields and the matching rules --------------------------------------------

class DecodedFields : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ReadInto(
            doc, Message({"Date: Sat, 1 Jan 2000 10:00:00",
                          "From: =?ISO-2022-JP?B?GyRCOzNFRBsoQg==?= <y@example.jp>",
                          "To: a@example.jp", "Cc: " + EncodedWord("佐藤") + " <s@example.jp>",
                          "Subject: " + EncodedWord("会議のお知らせ Tanaka"),
                          "Content-Type: text/plain; charset=utf-8",
                          "Content-Transfer-Encoding: base64"},
                         {Base64("本文は BASE64 です\n二行目\n")}) +
                     Message({"Date: Sun, 2 Jan 2000 10:00:00", "From: Plain <p@example.jp>",
                              "Subject: plain Report"},
                             {"Order 1234", "second line"})));
        ASSERT_EQ(doc.GetMessageCount(), 2);
    }
    std::vector<int> Search(search::FieldTextProvider& text, const std::string& query,
                            SearchField field) {
        search::MailSearch run(search::CompileQuery(query, text.Encoding()), field, text, 0,
                               text.MessageCount());
        while (run.RunSlice(1)) {
        }
        return run.Results();
    }
    CEKViewDoc doc;
};

TEST_F(DecodedFields, EncodedTextMatchesDecodedAndNotRaw) {
    struct Case {
        std::string query;
        SearchField field;
        std::vector<int> decoded;
        std::vector<int> raw;
    };
    const std::vector<Case> cases = {
        {"会議", SearchField::Subject, {0}, {}},
        {"tanaka", SearchField::Subject, {0}, {}},  // letters of either case
        {"TANAKA お知らせ", SearchField::Subject, {0}, {}},
        {"\"会議のお知らせ tanaka\"", SearchField::Subject, {0}, {}},
        {"\"お知らせ 会議\"", SearchField::Subject, {}, {}},
        {"会議 missing", SearchField::Subject, {}, {}},  // every word must match
        {"=?UTF-8?B?", SearchField::Subject, {}, {0}},
        {"山田", SearchField::Sender, {0}, {}},
        {"山田", SearchField::Recipients, {}, {}},
        {"佐藤", SearchField::Recipients, {0}, {}},
        {"a@example.jp", SearchField::Recipients, {0}, {0}},
        {"base64", SearchField::Body, {0}, {}},
        {"二行目", SearchField::Body, {0}, {}},
        {"本文 二行目", SearchField::Body, {0}, {}},
        {"です二行目", SearchField::Body, {}, {}},  // no match across a line end
        {"会議", SearchField::Body, {}, {}},
        {"会議", SearchField::Header, {0}, {}},
        {"content-transfer-encoding", SearchField::Header, {0}, {0}},
        {"会議 二行目", SearchField::All, {0}, {}},
        {"report", SearchField::Subject, {1}, {1}},
        {"order 1234", SearchField::Body, {1}, {1}},
        {"\"order 1234\" second", SearchField::All, {1}, {1}},
        {"회의", SearchField::All, {}, {}},  // any character is a decoded query
    };
    DecodedFieldText decoded(doc);
    search::RawFieldText raw(doc);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query + " in field " + std::to_string(static_cast<int>(c.field)));
        EXPECT_EQ(Search(decoded, c.query, c.field), c.decoded);
        EXPECT_EQ(Search(raw, c.query, c.field), c.raw);
    }
}

TEST_F(DecodedFields, FieldsHoldTheDecodedViewsText) {
    DecodedFieldText decoded(doc);
    std::vector<std::string_view> pieces;
    decoded.AppendFieldText(0, SearchField::Subject, pieces);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0], "会議のお知らせ Tanaka");
    pieces.clear();
    decoded.AppendFieldText(0, SearchField::Sender, pieces);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0], "山田 <y@example.jp>");
    pieces.clear();
    decoded.AppendFieldText(0, SearchField::Body, pieces);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0], "本文は BASE64 です\n二行目\n");
    pieces.clear();
    decoded.AppendFieldText(0, SearchField::All, pieces);
    const std::vector<std::string> headerLines =
        DecodeMessage(doc.MessageLines(0).text(), 0).headerLines;
    ASSERT_EQ(pieces.size(), headerLines.size() + 1);
    for (std::size_t i = 0; i < headerLines.size(); ++i) {
        EXPECT_EQ(std::string(pieces[i]) + "\n", headerLines[i]);
    }
}

// --- Against a slow literal search --------------------------------------------

std::string AsciiLowered(std::string text) {
    for (char& c : text) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    }
    return text;
}

// Every term on some line of `lines`, ASCII letters folded.
bool SlowFinds(const std::vector<std::string>& lines, const std::vector<std::string>& terms) {
    for (const std::string& term : terms) {
        bool found = false;
        for (const std::string& line : lines) {
            found = found || AsciiLowered(line).find(AsciiLowered(term)) != std::string::npos;
        }
        if (!found) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t lf = std::min(text.find('\n', at), text.size());
        lines.push_back(text.substr(at, lf - at));
        at = lf + 1;
    }
    return lines;
}

TEST(DecodedSearchRandom, EqualsASlowLiteralSearch) {
    // Characters that collide: letters of both cases, full-width letters, kana of
    // both widths, kanji sharing UTF-8 bytes.
    // "∵" and "¬" have two CP932 forms each, and U+FFFD stands for undecodable bytes:
    // a query holding one is matched decoded, any other is matched in the stored bytes.
    const std::vector<std::string> alphabet = {"a",  "A", "b",  " ",  "会",          "議",
                                               "ア", "ｱ", "Ａ", "ａ", "z",           "1",
                                               "二", "∵", "¬",  "\\", "\xEF\xBF\xBD"};
    // Stored bytes the plain CP932 bodies also hold: the other forms of "∵" and "¬",
    // a lone lead byte, bytes no character starts with.
    const std::vector<std::string> storedOnly = {"\xFA\x5B", "\xEE\xF9", "\x81",
                                                 "\x80",     "\xFD",     "\x81\x7F"};
    std::mt19937 random(1208);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    auto words = [&](std::size_t most) {
        std::string text;
        for (std::size_t n = pick(most); n > 0; --n) {
            text += alphabet[pick(alphabet.size())];
        }
        return text;
    };
    for (int round = 0; round < 40; ++round) {
        std::string box;
        for (int m = 0; m < 8; ++m) {
            std::string body;
            for (std::size_t l = pick(4); l > 0; --l) {
                body += words(10) + "\n";
            }
            std::string head = "Date: Sat, " + std::to_string(1 + m) + " Jan 2000 10:00:00\n" +
                               "Subject: " + EncodedWord(words(8)) + "\nFrom: " + words(6) + "\n";
            switch (pick(3)) {
                case 0:
                    head +=
                        "Content-Type: text/plain; charset=utf-8\n"
                        "Content-Transfer-Encoding: base64\n\n" +
                        Base64(body) + "\n";
                    break;
                case 1:
                    head += "Content-Type: text/plain; charset=utf-8\n\n" + body;
                    break;
                default: {
                    std::string stored;
                    for (const std::string& line : SplitLines(body)) {
                        stored += cp932::FromUtf8(line);
                        if (pick(2) == 0) {
                            stored += storedOnly[pick(storedOnly.size())];
                        }
                        stored += "\n";
                    }
                    head += "Content-Type: text/plain; charset=Shift_JIS\n\n" + stored;
                    break;
                }
            }
            box += Stored(head);
        }
        CEKViewDoc doc;
        ASSERT_TRUE(ReadInto(doc, box));
        DecodedFieldText text(doc);
        for (int q = 0; q < 12; ++q) {
            std::vector<std::string> terms;
            std::string query;
            for (std::size_t t = 1 + pick(2); t > 0; --t) {
                std::string term;
                for (std::size_t c = 1 + pick(3); c > 0; --c) {
                    std::string ch = alphabet[pick(alphabet.size())];
                    term += ch == " " ? "b" : ch;
                }
                terms.push_back(term);
                query += "\"" + term + "\" ";
            }
            for (SearchField field :
                 {SearchField::Subject, SearchField::Sender, SearchField::Body, SearchField::All}) {
                search::MailSearch run(search::CompileQuery(query, text.Encoding()), field, text, 0,
                                       doc.GetMessageCount());
                run.RunSlice(SIZE_MAX);
                std::vector<int> expected;
                for (int i = 0; i < doc.GetMessageCount(); ++i) {
                    const DecodedMessage message = DecodeMessage(doc.MessageLines(i).text(), i);
                    std::vector<std::string> lines;
                    for (const std::string& header : message.headerLines) {
                        const bool wanted =
                            field == SearchField::All ||
                            (field == SearchField::Subject && header.starts_with("Subject: ")) ||
                            (field == SearchField::Sender && header.starts_with("From: "));
                        if (wanted) {
                            lines.push_back(field == SearchField::All
                                                ? header
                                                : header.substr(header.find(": ") + 2));
                        }
                    }
                    if (field == SearchField::Body || field == SearchField::All) {
                        for (std::string& line : SplitLines(message.body)) {
                            lines.push_back(std::move(line));
                        }
                    }
                    if (SlowFinds(lines, terms)) {
                        expected.push_back(i);
                    }
                }
                SCOPED_TRACE("round " + std::to_string(round) + " query " + query + " field " +
                             std::to_string(static_cast<int>(field)));
                ASSERT_EQ(run.Results(), expected);
            }
        }
    }
}

}  // namespace
}  // namespace ek::test
