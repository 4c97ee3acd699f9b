#include "core/document/SearchQuery.h"

#include <array>
#include <cstdint>

#include "core/platform/Cp932.h"
#include "core/platform/Cp932Decode.h"
#include "core/platform/Cp932Encode.h"

namespace ek::search {

namespace {

// Length (1 to 4) of the well-formed UTF-8 character at `pos`, with its code point;
// 0 for bytes that start none (stray continuation bytes, overlong forms,
// surrogates, code points beyond U+10FFFF, a cut sequence).
std::size_t NextUtf8(std::string_view text, std::size_t pos, char32_t& cp) {
    const auto b = static_cast<unsigned char>(text[pos]);
    if (b < 0x80) {
        cp = b;
        return 1;
    }
    // The sequence's length, the bits its first byte holds and its least code point.
    struct Form {
        std::size_t length;
        unsigned char bits;
        char32_t min;
    };
    Form form{};
    if (b >= 0xC2 && b <= 0xDF) {
        form = {2, 0x1F, 0x80};
    } else if (b >= 0xE0 && b <= 0xEF) {
        form = {3, 0x0F, 0x800};
    } else if (b >= 0xF0 && b <= 0xF4) {
        form = {4, 0x07, 0x10000};
    } else {
        return 0;
    }
    const std::size_t length = form.length;
    cp = b & form.bits;
    if (text.size() - pos < length) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(text[pos + k]);
        if ((c & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < form.min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return length;
}

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
        const std::size_t length = NextUtf8(utf8, pos, cp);
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
        const std::size_t length = NextUtf8(utf8, pos, cp);
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
