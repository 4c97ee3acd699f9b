// A search query as the user types it: UTF-8 text split into terms that must all
// be found (AND). Blanks separate terms; a term in double quotes is one phrase with
// its blanks kept. The terms become byte patterns in the text's own encoding.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/document/SearchPattern.h"

namespace ek::search {

enum class QueryStatus {
    Ok,
    // Nothing to look for: an empty query, or one made only of blanks and quotes.
    Empty,
    // The query is not well-formed UTF-8 (a lone surrogate, a stray byte).
    NotUtf8,
    // A character of the query has no CP932 form, so no raw text can hold it.
    Unspellable,
};

// The terms of `utf8`, each UTF-8. Blanks are the space, U+3000 (the ideographic
// space) and, also inside quotes, every control character (no term spans a line).
// A double quote opens or closes a phrase and ends the term before it; an open
// phrase runs to the end. Terms of blanks alone are dropped.
QueryStatus SplitQuery(std::string_view utf8, std::vector<std::string>& terms);

struct SearchQuery {
    QueryStatus status = QueryStatus::Empty;
    std::vector<SearchPattern> patterns;
    // For a UTF-8 query whose every character has exactly one CP932 form: the same
    // terms as CP932 patterns, which find the query in stored CP932 text exactly
    // where they find it in that text decoded. Empty otherwise.
    std::vector<SearchPattern> storedPatterns;
    bool ok() const { return status == QueryStatus::Ok; }
};

// The query's terms as patterns for text in `encoding`.
SearchQuery CompileQuery(std::string_view utf8, TextEncoding encoding);

}  // namespace ek::search
