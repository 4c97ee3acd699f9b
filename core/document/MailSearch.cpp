#include "core/document/MailSearch.h"

#include <algorithm>
#include <cstring>

#include "core/document/EKViewDoc.h"
#include "core/document/TextRules.h"
#include "core/platform/Cp932Decode.h"

namespace ek::search {

namespace {

// What a look at one message costs beyond its bytes, in the budget's units.
constexpr std::size_t kMessageCost = 256;

// The end of the header: the offset of the empty line that closes it, or the text's
// size when there is none. A message's first line is never empty.
std::size_t HeaderEnd(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        const void* lf = std::memchr(text.data() + at, '\n', text.size() - at);
        if (lf == nullptr) {
            break;
        }
        at = static_cast<std::size_t>(static_cast<const char*>(lf) - text.data()) + 1;
        if (at < text.size() && text[at] == '\n') {
            return at;
        }
    }
    return text.size();
}

std::size_t LineEnd(std::string_view text, std::size_t at) {
    const void* lf = std::memchr(text.data() + at, '\n', text.size() - at);
    return lf != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lf) - text.data()) + 1
                         : text.size();
}

// Appends the value of every header line of `text` named one of `names`
// ("subject:"), with its continuation lines; the header ends at the first empty line.
template <std::size_t N>
void AppendHeaderFields(std::string_view text, const std::string_view (&names)[N],
                        std::vector<std::string_view>& pieces) {
    std::size_t at = 0;
    while (at < text.size() && text[at] != '\n') {
        std::size_t end = LineEnd(text, at);
        const std::string_view line = text.substr(at, end - at);
        const char first = AsciiLower(line.front());
        const std::string_view* name = std::find_if(names, names + N, [&](std::string_view n) {
            return n.front() == first && StartsWithIgnoringAsciiCase(line, n);
        });
        if (name != names + N) {
            const std::size_t valueStart = at + name->size();
            while (end < text.size() && (text[end] == ' ' || text[end] == '\t')) {
                end = LineEnd(text, end);
            }
            pieces.push_back(text.substr(valueStart, end - valueStart));
        }
        at = end;
    }
}

constexpr std::string_view kSubjectNames[] = {"subject:"};
constexpr std::string_view kSenderNames[] = {"from:"};
constexpr std::string_view kRecipientNames[] = {"to:", "cc:"};

}  // namespace

const std::vector<std::string_view>& FieldTextProvider::StoredPieces() const {
    static const std::vector<std::string_view> kNone;
    return kNone;
}

int RawFieldText::MessageCount() const {
    return m_doc.GetMessageCount();
}

void RawFieldText::AppendFieldText(int index, SearchField field,
                                   std::vector<std::string_view>& pieces) {
    const std::string_view text = m_doc.MessageLines(index).text();
    if (field == SearchField::All) {
        pieces.push_back(text);
        return;
    }
    switch (field) {
        case SearchField::Header:
            pieces.push_back(text.substr(0, HeaderEnd(text)));
            break;
        case SearchField::Body:
            if (std::size_t headerEnd = HeaderEnd(text); headerEnd < text.size()) {
                pieces.push_back(text.substr(headerEnd + 1));
            }
            break;
        case SearchField::Subject:
            AppendHeaderFields(text, kSubjectNames, pieces);
            break;
        case SearchField::Sender:
            AppendHeaderFields(text, kSenderNames, pieces);
            break;
        case SearchField::Recipients:
            AppendHeaderFields(text, kRecipientNames, pieces);
            break;
        case SearchField::All:
            break;
    }
}

bool MessageMatches(const SearchQuery& query, FieldTextProvider& text, int index, SearchField field,
                    std::vector<std::string_view>& scratch) {
    if (!query.ok()) {
        return false;
    }
    scratch.clear();
    text.AppendFieldText(index, field, scratch);
    const std::vector<std::string_view>& stored = text.StoredPieces();
    const bool matchStored = !stored.empty() && !query.storedPatterns.empty();
    // A query without stored patterns reads the stored pieces decoded.
    std::vector<std::string> decoded;
    if (!stored.empty() && !matchStored) {
        for (std::string_view piece : stored) {
            decoded.push_back(cp932::ToUtf8(piece));
        }
    }
    auto foundIn = [](const SearchPattern& pattern, const auto& pieces) {
        return std::any_of(pieces.begin(), pieces.end(),
                           [&pattern](std::string_view piece) { return pattern.FoundIn(piece); });
    };
    for (std::size_t i = 0; i < query.patterns.size(); ++i) {
        const bool found = foundIn(query.patterns[i], scratch) ||
                           (matchStored ? foundIn(query.storedPatterns[i], stored)
                                        : foundIn(query.patterns[i], decoded));
        if (!found) {
            return false;
        }
    }
    return true;
}

MailSearch::MailSearch(SearchQuery query, SearchField field, FieldTextProvider& text, int first,
                       int last)
    : m_query(std::move(query)),
      m_field(field),
      m_text(text),
      m_first(std::max(first, 0)),
      m_next(m_first),
      m_last(std::min(last, text.MessageCount())) {
    if (!m_query.ok()) {
        m_next = std::max(m_last, m_first);
    }
}

bool MailSearch::RunSlice(std::size_t byteBudget) {
    std::size_t spent = 0;
    while (m_next < m_last) {
        if (MessageMatches(m_query, m_text, m_next, m_field, m_pieces)) {
            m_results.push_back(m_next);
        }
        spent += kMessageCost;
        for (std::string_view piece : m_pieces) {
            spent += piece.size();
        }
        for (std::string_view piece : m_text.StoredPieces()) {
            spent += piece.size();
        }
        ++m_next;
        if (spent >= byteBudget) {
            break;
        }
    }
    return !Done();
}

}  // namespace ek::search
