#include "core/document/SearchQuery.h"

#include <array>
#include <cstdint>

#include "core/platform/Cp932.h"
#include "core/platform/Cp932Decode.h"
#include "core/platform/Cp932Encode.h"
#include "core/platform/Utf8.h"

namespace ek::search {

namespace {

constexpr bool IsControl(char32_t cp) {
    return cp < 0x20 || cp == 0x7F;
}

// How many CP932 characters (single bytes and lead-trail pairs, as they decode)
// stand for each code point of the Basic Multilingual Plane, at most 2.
const std::array<std::uint8_t, 0x10000>& Cp932Forms() {
    static const std::array<std::uint8_t, 0x10000> forms = [] {
        std::array<std::uint8_t, 0x10000> counts{};
        auto count = [&counts](std::string_view bytes) {
            std::size_t length = 0;
            const char32_t cp = cp932::DecodeChar(bytes, 0, &length);
            if (length == bytes.size() && cp < 0x10000 && counts[cp] < 2) {
                ++counts[cp];
            }
        };
        for (int b = 0; b < 0x100; ++b) {
            count(std::string(1, static_cast<char>(b)));
            for (int t = 0; t < 0x100; ++t) {
                const char pair[] = {static_cast<char>(b), static_cast<char>(t)};
                if (cp932::CharLength(std::string_view(pair, 2), 0) == 2) {
                    count(std::string_view(pair, 2));
                }
            }
        }
        return counts;
    }();
    return forms;
}

// True when every character of `utf8` (well-formed) is the decoding of exactly one
// CP932 character, so that a match in decoded text is a match in the stored bytes.
bool HasOneCp932Form(std::string_view utf8) {
    const std::array<std::uint8_t, 0x10000>& forms = Cp932Forms();
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t cp = 0;
        const std::size_t length = ek::utf8::Decode(utf8, pos, cp);
        if (length == 0 || cp >= 0x10000 || forms[cp] != 1 || cp == 0xFFFD) {
            return false;
        }
        pos += length;
    }
    return true;
}

}  // namespace

QueryStatus SplitQuery(std::string_view utf8, std::vector<std::string>& terms) {
    terms.clear();
    std::string term;
    // A phrase of blanks alone looks for nothing.
    bool termHasText = false;
    bool inPhrase = false;
    auto endTerm = [&] {
        if (termHasText) {
            terms.push_back(std::move(term));
        }
        term.clear();
        termHasText = false;
    };
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t cp = 0;
        const std::size_t length = ek::utf8::Decode(utf8, pos, cp);
        if (length == 0) {
            terms.clear();
            return QueryStatus::NotUtf8;
        }
        if (cp == '"') {
            endTerm();
            inPhrase = !inPhrase;
        } else if (IsControl(cp) || (!inPhrase && (cp == ' ' || cp == 0x3000))) {
            endTerm();
        } else {
            term.append(utf8.substr(pos, length));
            termHasText = termHasText || (cp != ' ' && cp != 0x3000);
        }
        pos += length;
    }
    endTerm();
    return terms.empty() ? QueryStatus::Empty : QueryStatus::Ok;
}

SearchQuery CompileQuery(std::string_view utf8, TextEncoding encoding) {
    SearchQuery query;
    std::vector<std::string> terms;
    query.status = SplitQuery(utf8, terms);
    if (!query.ok()) {
        return query;
    }
    if (encoding == TextEncoding::Utf8) {
        bool stored = true;
        for (const std::string& term : terms) {
            stored = stored && HasOneCp932Form(term);
        }
        for (std::string& term : terms) {
            if (stored) {
                query.storedPatterns.emplace_back(cp932::FromUtf8(term), TextEncoding::Cp932);
            }
            query.patterns.emplace_back(std::move(term), encoding);
        }
        return query;
    }
    for (std::string& term : terms) {
        bool lossless = true;
        std::string bytes = cp932::FromUtf8(term, &lossless);
        if (!lossless) {
            query.patterns.clear();
            query.status = QueryStatus::Unspellable;
            return query;
        }
        // Characters CP932 drops (tag characters) may leave nothing to look for.
        if (!bytes.empty()) {
            query.patterns.emplace_back(std::move(bytes), encoding);
        }
    }
    if (query.patterns.empty()) {
        query.status = QueryStatus::Empty;
    }
    return query;
}

}  // namespace ek::search
