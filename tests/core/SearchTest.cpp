// The mailbox search: how a query splits into terms, how a term matches CP932 and
// UTF-8 text, which lines each field covers, and the search against a slow literal
// search on random mailboxes.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/document/MailSearch.h"
#include "core/frame/SearchRun.h"
#include "core/platform/Cp932.h"
#include "tests/support/TestSupport.h"

namespace ek::search {
namespace {

using test::Message;
using test::ReadInto;

// --- Splitting a query -------------------------------------------------------

struct SplitCase {
    std::string query;
    QueryStatus status;
    std::vector<std::string> terms;
};

class SplitQueryTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitQueryTest, TermsAndStatus) {
    const SplitCase& c = GetParam();
    SCOPED_TRACE("query: " + c.query);
    std::vector<std::string> terms;
    EXPECT_EQ(SplitQuery(c.query, terms), c.status);
    EXPECT_EQ(terms, c.terms);
}

INSTANTIATE_TEST_SUITE_P(
    Queries, SplitQueryTest,
    ::testing::Values(
        SplitCase{"", QueryStatus::Empty, {}}, SplitCase{"   \t ", QueryStatus::Empty, {}},
        SplitCase{"\"\" \"   \"\"", QueryStatus::Empty, {}},
        SplitCase{"\xE3\x80\x80", QueryStatus::Empty, {}},  // only an ideographic space
        SplitCase{"order 1234", QueryStatus::Ok, {"order", "1234"}},
        SplitCase{"  a  b  ", QueryStatus::Ok, {"a", "b"}},
        SplitCase{"会議\xE3\x80\x80資料", QueryStatus::Ok, {"会議", "資料"}},
        SplitCase{"\"project  meeting\" x", QueryStatus::Ok, {"project  meeting", "x"}},
        SplitCase{"a\"b c\"d", QueryStatus::Ok, {"a", "b c", "d"}},
        SplitCase{"\"open phrase", QueryStatus::Ok, {"open phrase"}},
        // Control characters end a term even inside a phrase: no term spans a line.
        SplitCase{"a\nb\x1b"
                  "c\x7f"
                  "d",
                  QueryStatus::Ok,
                  {"a", "b", "c", "d"}},
        SplitCase{"\"a\tb\"", QueryStatus::Ok, {"a", "b"}},
        SplitCase{"ok\xED\xA0\x80", QueryStatus::NotUtf8, {}},  // a lone surrogate
        SplitCase{"ok\xC0\xAF", QueryStatus::NotUtf8, {}},      // an overlong "/"
        SplitCase{"ok\xE3\x81", QueryStatus::NotUtf8, {}},      // a cut character
        SplitCase{"\xFF", QueryStatus::NotUtf8, {}},
        SplitCase{"\xF4\x90\x80\x80", QueryStatus::NotUtf8, {}}  // beyond U+10FFFF
        ));

TEST(CompileQueryTest, RawNeedsCp932AndDecodedDoesNot) {
    EXPECT_EQ(CompileQuery("회의", TextEncoding::Cp932).status, QueryStatus::Unspellable);
    EXPECT_EQ(CompileQuery("会議 회의", TextEncoding::Cp932).status, QueryStatus::Unspellable);
    EXPECT_EQ(CompileQuery("회의", TextEncoding::Utf8).status, QueryStatus::Ok);
    SearchQuery raw = CompileQuery("会議 a", TextEncoding::Cp932);
    ASSERT_TRUE(raw.ok());
    ASSERT_EQ(raw.patterns.size(), 2u);
    EXPECT_EQ(raw.patterns[0].bytes(), "\x89\xEF\x8B\x63");
    // Tag characters have no CP932 bytes at all: nothing is left to look for.
    EXPECT_EQ(CompileQuery("\xF3\xA0\x80\x81", TextEncoding::Cp932).status, QueryStatus::Empty);
    // A literal question mark is no lost character.
    EXPECT_TRUE(CompileQuery("why?", TextEncoding::Cp932).ok());
}

TEST(CompileQueryTest, DecodedQueriesGetStoredPatternsOnlyWhereEachCharacterHasOneForm) {
    SearchQuery both = CompileQuery("会議 Ab ｱ\\", TextEncoding::Utf8);
    ASSERT_EQ(both.storedPatterns.size(), 3u);
    EXPECT_EQ(both.storedPatterns[0].bytes(), "\x89\xEF\x8B\x63");
    EXPECT_EQ(both.storedPatterns[1].bytes(), "Ab");
    EXPECT_EQ(both.storedPatterns[2].bytes(), "\xB1\\");
    for (const char* query : {"会議 ∵", "¬", "회의", "\xEF\xBF\xBD", "\xF0\x9F\x98\x80"}) {
        SCOPED_TRACE(query);
        SearchQuery decodedOnly = CompileQuery(query, TextEncoding::Utf8);
        EXPECT_TRUE(decodedOnly.ok());
        EXPECT_TRUE(decodedOnly.storedPatterns.empty());
    }
    EXPECT_TRUE(CompileQuery("会議", TextEncoding::Cp932).storedPatterns.empty());
}

// --- Matching one term -------------------------------------------------------

struct MatchCase {
    const char* name;
    std::string pattern;  // CP932 bytes
    std::string text;     // CP932 bytes
    bool found;
};

class Cp932MatchTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(Cp932MatchTest, FoundIn) {
    const MatchCase& c = GetParam();
    SCOPED_TRACE(c.name);
    SearchPattern pattern(c.pattern, TextEncoding::Cp932);
    EXPECT_EQ(pattern.FoundIn(c.text), c.found);
    // The result does not depend on where the text lies in a larger buffer.
    std::string padded = "\n" + c.text + "\n";
    EXPECT_EQ(pattern.FoundIn(padded), c.found);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Cp932MatchTest,
    ::testing::Values(MatchCase{"letters ignore case", "Order", "your ORDER no", true},
                      MatchCase{"lower in upper", "abc", "xABCx", true},
                      MatchCase{"digits exact", "1234", "no 1243", false},
                      MatchCase{"at the very end", "end", "the END", true},
                      MatchCase{"at the very start", "the", "The end", true},
                      MatchCase{"longer than the text", "abcdef", "abcde", false},
                      MatchCase{"across a line end", "ab", "a\nb", false},
                      // "A" (0x41) is the second byte of ア (0x83 0x41): no match there.
                      MatchCase{"letter as second byte", "A", "\x83\x41", false},
                      MatchCase{"letter after a double-byte char", "A",
                                "\x83\x41"
                                "A",
                                true},
                      // ソ ends in 0x5C, the backslash.
                      MatchCase{"backslash as second byte", "\\", "\x83\x5C", false},
                      // The bytes of "Aア" (41 83 41) stand inside "アア" (83 41 83 41).
                      MatchCase{"bytes across two chars", "A\x83\x41", "\x83\x41\x83\x41", false},
                      MatchCase{"same bytes on a boundary", "A\x83\x41",
                                "\x83\x41"
                                "A\x83\x41",
                                true},
                      // ア (83 41) and ヂ (83 61) differ only in the case of their second byte.
                      MatchCase{"second bytes keep case", "\x83\x41", "\x83\x61", false},
                      MatchCase{"double-byte exact", "\x83\x41", "x\x83\x41", true},
                      // 亜 is 88 9F; in 88 88 9F the second 88 is the trail of the first.
                      MatchCase{"lead run pairs from a boundary", "\x88\x9F", "\x88\x88\x9F",
                                false},
                      MatchCase{"even lead run", "\x88\x9F", "\x88\x88\x88\x9F", true},
                      MatchCase{"lone lead before the line end", "a", "\x88\na", true},
                      // A lead byte before a byte that cannot be a second byte stands alone.
                      MatchCase{"lone lead before a digit", "1",
                                "\x88"
                                "1",
                                true},
                      MatchCase{"half-width katakana", "\xB1", "\x83\xB1 \xB1", true},
                      MatchCase{"half-width as second byte only", "\xB1", "\x83\xB1", false},
                      MatchCase{"phrase with blanks", "a  b", "xa  by", true},
                      MatchCase{"phrase needs its blanks", "a  b", "xa by", false}));

TEST(Utf8MatchTest, CaseBlindLettersAndExactRest) {
    SearchPattern letters("Tanaka", TextEncoding::Utf8);
    EXPECT_TRUE(letters.FoundIn("from TANAKA-san"));
    SearchPattern kana("ア", TextEncoding::Utf8);
    EXPECT_TRUE(kana.FoundIn("アイ"));
    EXPECT_FALSE(kana.FoundIn("ｱ"));
    // Full-width letters are other characters, compared exactly.
    SearchPattern wide("Ａ", TextEncoding::Utf8);
    EXPECT_FALSE(wide.FoundIn("ａ"));
}

// --- Fields of a message -----------------------------------------------------

class FieldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ReadInto(
            doc, Message({"Date: Sun, 2 Jan 2000 15:04:05 +0900",
                          "From: Ichiro Takahashi <ichiro@example.jp>", "To: hanako@example.jp,",
                          "\tjiro@example.jp", "CC: saburo@example.jp", "Subject: Quarterly report",
                          " part two", "X-Note: subject: decoy"},
                         {"Body line with order 1234", "Subject: body decoy"})));
    }
    bool Finds(const std::string& query, SearchField field) {
        RawFieldText text(doc);
        std::vector<std::string_view> scratch;
        return MessageMatches(CompileQuery(query, TextEncoding::Cp932), text, 0, field, scratch);
    }
    CEKViewDoc doc;
};

TEST_F(FieldTest, EachFieldCoversItsLines) {
    struct Case {
        const char* query;
        SearchField field;
        bool found;
    };
    const Case cases[] = {
        {"quarterly", SearchField::Subject, true},
        {"two", SearchField::Subject, true},       // a continuation line
        {"decoy", SearchField::Subject, false},    // other header and body lines
        {"subject", SearchField::Subject, false},  // the field name is no value
        {"takahashi", SearchField::Sender, true},
        {"hanako", SearchField::Sender, false},
        {"hanako", SearchField::Recipients, true},
        {"jiro", SearchField::Recipients, true},
        {"saburo", SearchField::Recipients, true},  // Cc, its name in capitals
        {"ichiro", SearchField::Recipients, false},
        {"X-Note", SearchField::Header, true},
        {"order", SearchField::Header, false},
        {"order 1234", SearchField::Body, true},
        {"quarterly", SearchField::Body, false},
        {"EKMail-Status", SearchField::All, true},
        {"1234 hanako quarterly", SearchField::All, true},
        {"1234 missing", SearchField::All, false},
        {"\"report part\"", SearchField::Subject, false},  // a phrase stays on its line
        {"report part", SearchField::Subject, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.query) + " in field " +
                     std::to_string(static_cast<int>(c.field)));
        EXPECT_EQ(Finds(c.query, c.field), c.found);
    }
}

TEST(FieldEdgeTest, MessageWithoutBodyAndPatternAtFileEnd) {
    CEKViewDoc doc;
    // No empty line: all is header; the last line has no line feed in the file.
    ASSERT_TRUE(ReadInto(doc, test::kStart + "\n" + test::kStatus + "\nSubject: x\nlast-word"));
    RawFieldText text(doc);
    std::vector<std::string_view> scratch;
    auto finds = [&](const char* q, SearchField f) {
        return MessageMatches(CompileQuery(q, TextEncoding::Cp932), text, 0, f, scratch);
    };
    EXPECT_TRUE(finds("last-word", SearchField::All));
    EXPECT_TRUE(finds("last-word", SearchField::Header));
    EXPECT_FALSE(finds("last-word", SearchField::Body));
    EXPECT_FALSE(finds("x", SearchField::Body));
}

// A provider of decoded text: the same message, its subject as the decoded view
// would give it.
class DecodedStub : public FieldTextProvider {
  public:
    TextEncoding Encoding() const override { return TextEncoding::Utf8; }
    int MessageCount() const override { return 1; }
    void AppendFieldText(int, SearchField, std::vector<std::string_view>& pieces) override {
        pieces.push_back("会議のお知らせ\n");
    }
};

TEST(DecodedTextTest, RawSeesEncodedWordsDecodedSeesText) {
    CEKViewDoc doc;
    ASSERT_TRUE(ReadInto(doc, Message({"Subject: =?ISO-2022-JP?B?GyRCMnFEOxsoQg==?="})));
    RawFieldText raw(doc);
    DecodedStub decoded;
    std::vector<std::string_view> scratch;
    EXPECT_FALSE(MessageMatches(CompileQuery("会議", raw.Encoding()), raw, 0, SearchField::Subject,
                                scratch));
    EXPECT_TRUE(MessageMatches(CompileQuery("会議", decoded.Encoding()), decoded, 0,
                               SearchField::Subject, scratch));
    EXPECT_TRUE(MessageMatches(CompileQuery("iso-2022", raw.Encoding()), raw, 0,
                               SearchField::Subject, scratch));
}

// --- The search over messages ------------------------------------------------

TEST(MailSearchTest, SlicesGiveTheSameResultsInListOrder) {
    CEKViewDoc doc;
    std::string box;
    for (int i = 0; i < 50; ++i) {
        box += Message({"Date: Sun, " + std::to_string(1 + i % 28) + " Jan 2000 10:00:00",
                        "Subject: item " + std::to_string(i)},
                       {i % 3 == 0 ? "needle here" : "hay"});
    }
    ASSERT_TRUE(ReadInto(doc, box));
    RawFieldText text(doc);
    MailSearch whole(CompileQuery("needle", TextEncoding::Cp932), SearchField::Body, text, 0,
                     doc.GetMessageCount());
    EXPECT_FALSE(whole.RunSlice(SIZE_MAX));
    MailSearch sliced(CompileQuery("needle", TextEncoding::Cp932), SearchField::Body, text, 0,
                      doc.GetMessageCount());
    int slices = 0;
    while (sliced.RunSlice(1)) {
        ++slices;
    }
    EXPECT_EQ(slices, doc.GetMessageCount() - 1);  // the least budget still does one message
    EXPECT_EQ(sliced.Results(), whole.Results());
    EXPECT_EQ(whole.Results().size(), 17u);
    EXPECT_TRUE(std::is_sorted(whole.Results().begin(), whole.Results().end()));

    MailSearch refused(CompileQuery("  ", TextEncoding::Cp932), SearchField::All, text, 0, 50);
    EXPECT_TRUE(refused.Done());
    EXPECT_FALSE(refused.RunSlice(SIZE_MAX));
    EXPECT_TRUE(refused.Results().empty());
    MailSearch outside(CompileQuery("x", TextEncoding::Cp932), SearchField::All, text, -5, 1000);
    outside.RunSlice(SIZE_MAX);
    EXPECT_EQ(outside.First(), 0);
    EXPECT_EQ(outside.Last(), doc.GetMessageCount());
}

TEST(SearchRunTest, ProgressShowsOnlyAfterTheDelayAndANewStartDropsTheOld) {
    CEKViewDoc doc;
    std::string box;
    for (int i = 0; i < 20; ++i) {
        box += Message({"Subject: n" + std::to_string(i)}, {i % 2 == 0 ? "even" : "odd"});
    }
    ASSERT_TRUE(ReadInto(doc, box));
    auto text = [&doc] { return std::make_unique<RawFieldText>(doc); };
    SearchRun run;
    const auto t0 = SearchRun::Clock::now();
    EXPECT_EQ(run.Start("even", SearchField::Body, text, t0), QueryStatus::Ok);
    EXPECT_TRUE(run.Running());
    EXPECT_EQ(run.Percent(), 0);
    EXPECT_FALSE(run.ShowsProgress(t0 + std::chrono::milliseconds(150)));
    EXPECT_TRUE(run.ShowsProgress(t0 + SearchRun::kProgressDelay));

    EXPECT_EQ(run.Start("odd", SearchField::Body, text, t0), QueryStatus::Ok);
    EXPECT_FALSE(run.Wait(std::chrono::seconds(60)));
    EXPECT_TRUE(run.Finished());
    EXPECT_EQ(run.Percent(), 100);
    EXPECT_FALSE(run.ShowsProgress(t0 + std::chrono::seconds(1)));
    EXPECT_EQ(run.Results().size(), 10u);
    EXPECT_EQ(run.Results().front(), 1);

    EXPECT_EQ(run.Start("\"\"", SearchField::All, text, t0), QueryStatus::Empty);
    EXPECT_FALSE(run.Running());
    EXPECT_FALSE(run.Finished());
    EXPECT_TRUE(run.Results().empty());
}

// The slow literal search: every character boundary of every stored line, every term.
bool SlowFinds(const CEKViewDoc& doc, int index, const std::vector<std::string>& terms) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    for (const std::string& term : terms) {
        bool found = false;
        for (std::string_view line : doc.MessageLines(index)) {
            for (std::size_t at = 0; !found && at < line.size();
                 at += cp932::CharLength(line, at)) {
                if (line.size() - at < term.size()) {
                    break;
                }
                bool equal = true;
                for (std::size_t k = 0; equal && k < term.size();) {
                    std::size_t length = cp932::CharLength(term, k);
                    for (std::size_t j = 0; j < length; ++j) {
                        char t = line[at + k + j];
                        char q = term[k + j];
                        equal = equal && (length == 1 ? lower(t) == lower(q) : t == q);
                    }
                    k += length;
                }
                found = equal;
            }
            if (found) {
                break;
            }
        }
        if (!found) {
            return false;
        }
    }
    return true;
}

TEST(MailSearchTest, EqualsASlowLiteralSearchOnRandomMailboxes) {
    // Characters chosen to collide: letters, ア/ヂ whose second bytes are letters,
    // ソ ending in a backslash, lead bytes that are also second bytes, half-width kana.
    const std::vector<std::string> alphabet = {"a",        "A",        "b",        "\\",
                                               " ",        "\x83\x41", "\x83\x61", "\x83\x5C",
                                               "\x88\x9F", "\x88\x88", "\xB1",     "1"};
    std::mt19937 random(20261208);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    for (int round = 0; round < 40; ++round) {
        std::string box;
        for (int m = 0; m < 8; ++m) {
            std::vector<std::string> body;
            for (std::size_t l = pick(4); l > 0; --l) {
                std::string line;
                for (std::size_t c = pick(12); c > 0; --c) {
                    line += alphabet[pick(alphabet.size())];
                }
                body.push_back(line);
            }
            box += test::kStart + "\n" + test::kStatus + "\n\n";
            for (const std::string& line : body) {
                box += line + "\n";
            }
        }
        CEKViewDoc doc;
        ASSERT_TRUE(ReadInto(doc, box));
        RawFieldText text(doc);
        for (int q = 0; q < 20; ++q) {
            std::vector<std::string> terms;
            for (std::size_t t = 1 + pick(2); t > 0; --t) {
                std::string term;
                for (std::size_t c = 1 + pick(3); c > 0; --c) {
                    std::string ch = alphabet[pick(alphabet.size())];
                    term += ch == " " ? "b" : ch;
                }
                terms.push_back(term);
            }
            SearchQuery query;
            query.status = QueryStatus::Ok;
            for (const std::string& term : terms) {
                query.patterns.emplace_back(term, TextEncoding::Cp932);
            }
            MailSearch search(query, SearchField::All, text, 0, doc.GetMessageCount());
            search.RunSlice(SIZE_MAX);
            std::vector<int> expected;
            for (int i = 0; i < doc.GetMessageCount(); ++i) {
                if (SlowFinds(doc, i, terms)) {
                    expected.push_back(i);
                }
            }
            SCOPED_TRACE("round " + std::to_string(round) + " query " + std::to_string(q));
            ASSERT_EQ(search.Results(), expected);
        }
    }
}

TEST(MailSearchTest, HostileSizesEndQuickly) {
    // One line of 20 MB and a query of 10,000 characters that nearly matches it.
    CEKViewDoc doc;
    std::string line(20 << 20, 'a');
    ASSERT_TRUE(ReadInto(doc, Message({"Subject: big"}, {line})));
    RawFieldText text(doc);
    std::string longQuery(10000, 'a');
    longQuery += "b";
    MailSearch search(CompileQuery(longQuery, TextEncoding::Cp932), SearchField::All, text, 0, 1);
    search.RunSlice(SIZE_MAX);
    EXPECT_TRUE(search.Results().empty());
    MailSearch tail(CompileQuery("big", TextEncoding::Cp932), SearchField::Subject, text, 0, 1);
    tail.RunSlice(SIZE_MAX);
    EXPECT_EQ(tail.Results(), std::vector<int>{0});
}

}  // namespace
}  // namespace ek::search
