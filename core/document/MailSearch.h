// Searching the mailbox: which messages hold every term of a query in a field.
// The search runs over a range of messages and returns, so that a window can run
// it in slices between events (or on a worker) and drop it for a newer query.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "core/document/SearchQuery.h"

namespace ek {
class CEKViewDoc;
}

namespace ek::search {

enum class SearchField {
    All,         // every stored line
    Subject,     // the Subject field
    Sender,      // the From field
    Recipients,  // the To and Cc fields
    Header,      // every header line
    Body,        // every line after the header
};

// The text of a field of a message, as pieces of whole lines (a match never
// spans a line end, nor the end of a piece). Raw text is the stored CP932 lines; a
// decoded text supplies UTF-8.
class FieldTextProvider {
  public:
    virtual ~FieldTextProvider() = default;
    virtual TextEncoding Encoding() const = 0;
    virtual int MessageCount() const = 0;
    // Appends the pieces of `field` of message `index`; they stay valid until the
    // next call.
    virtual void AppendFieldText(int index, SearchField field,
                                 std::vector<std::string_view>& pieces) = 0;
    // Stored CP932 pieces of the field last appended whose decoding is the rest of its
    // text, so that they need no decoding where the query has stored patterns; valid
    // as long as the pieces. None unless a decoded text has them.
    virtual const std::vector<std::string_view>& StoredPieces() const;
};

// The stored lines of the document's messages. A header field is its value after
// the colon with its continuation lines, taken from the header only; the field name
// is matched without regard to case.
class RawFieldText : public FieldTextProvider {
  public:
    explicit RawFieldText(const CEKViewDoc& doc) : m_doc(doc) {}
    TextEncoding Encoding() const override { return TextEncoding::Cp932; }
    int MessageCount() const override;
    void AppendFieldText(int index, SearchField field,
                         std::vector<std::string_view>& pieces) override;

  private:
    const CEKViewDoc& m_doc;
};

// True when every pattern of `query` is found in a piece of the field.
bool MessageMatches(const SearchQuery& query, FieldTextProvider& text, int index, SearchField field,
                    std::vector<std::string_view>& scratch);

// A search of the messages [first, last) in list order, taken a slice at a time.
class MailSearch {
  public:
    MailSearch(SearchQuery query, SearchField field, FieldTextProvider& text, int first, int last);

    // Searches on from where the last slice stopped until about `byteBudget` bytes
    // were looked at (at least one message) or the range is done; appends the
    // matching indexes to the results. Returns true while messages remain.
    bool RunSlice(std::size_t byteBudget);
    bool Done() const { return m_next >= m_last; }
    int NextIndex() const { return m_next; }
    int First() const { return m_first; }
    int Last() const { return m_last; }
    const std::vector<int>& Results() const { return m_results; }

  private:
    SearchQuery m_query;
    SearchField m_field;
    FieldTextProvider& m_text;
    int m_first;
    int m_next;
    int m_last;
    std::vector<int> m_results;
    std::vector<std::string_view> m_pieces;
};

}  // namespace ek::search
