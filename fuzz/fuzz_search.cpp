// The mailbox search on arbitrary queries and mailboxes: the query is the input up
// to its first NUL, the mailbox the rest. Results are in list order, each field's
// matches are among those of the fields that hold it, and the whole-message search
// equals a literal search at every character boundary of every stored line.
#include <algorithm>

#include "core/document/EKViewDoc.h"
#include "core/document/MailSearch.h"
#include "core/platform/Cp932.h"
#include "core/platform/ProgressDlg.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace ek::search;

bool LiteralFinds(const ek::CEKViewDoc& doc, int index, const SearchPattern& pattern) {
    const std::string& term = pattern.bytes();
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    for (std::string_view line : doc.MessageLines(index)) {
        for (std::size_t at = 0; at + term.size() <= line.size();
             at += ek::cp932::CharLength(line, at)) {
            bool equal = true;
            for (std::size_t k = 0; equal && k < term.size();) {
                const std::size_t length = ek::cp932::CharLength(term, k);
                for (std::size_t j = 0; j < length; ++j) {
                    equal = equal && (length == 1 ? lower(line[at + k + j]) == lower(term[k + j])
                                                  : line[at + k + j] == term[k + j]);
                }
                k += length;
            }
            if (equal) {
                return true;
            }
        }
    }
    return false;
}

std::vector<int> Search(const SearchQuery& query, FieldTextProvider& text, SearchField field) {
    MailSearch search(query, field, text, 0, text.MessageCount());
    while (search.RunSlice(4096)) {
    }
    return search.Results();
}

bool Includes(const std::vector<int>& outer, const std::vector<int>& inner) {
    return std::includes(outer.begin(), outer.end(), inner.begin(), inner.end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = ek::fuzz::AsText(data, size);
    const std::size_t nul = input.find('\0');
    if (nul == std::string_view::npos) {
        return 0;
    }
    const std::string_view queryText = input.substr(0, nul);
    const std::string_view box = input.substr(nul + 1);

    SearchQuery query = CompileQuery(queryText, TextEncoding::Cp932);
    if (!query.ok()) {
        EK_FUZZ_CHECK(query.patterns.empty());
        return 0;
    }
    for (const SearchPattern& pattern : query.patterns) {
        EK_FUZZ_CHECK(!pattern.bytes().empty());
        EK_FUZZ_CHECK(pattern.bytes().find('\n') == std::string::npos);
    }
    ek::CEKViewDoc doc;
    doc.SetPathName("fuzz.mbx");
    if (!doc.ReadMailBytes(box)) {
        return 0;
    }
    RawFieldText text(doc);
    const std::vector<int> all = Search(query, text, SearchField::All);
    const std::vector<int> header = Search(query, text, SearchField::Header);
    EK_FUZZ_CHECK(std::is_sorted(all.begin(), all.end()));
    EK_FUZZ_CHECK(Includes(all, header));
    EK_FUZZ_CHECK(Includes(all, Search(query, text, SearchField::Body)));
    for (SearchField field : {SearchField::Subject, SearchField::Sender, SearchField::Recipients}) {
        EK_FUZZ_CHECK(Includes(header, Search(query, text, field)));
    }
    std::vector<int> literal;
    for (int i = 0; i < doc.GetMessageCount(); ++i) {
        if (std::all_of(query.patterns.begin(), query.patterns.end(),
                        [&](const SearchPattern& p) { return LiteralFinds(doc, i, p); })) {
            literal.push_back(i);
        }
    }
    EK_FUZZ_CHECK(all == literal);
    return 0;
}
