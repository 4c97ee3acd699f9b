#include "core/mail/BodyScan.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/document/TextRules.h"
#include "core/mail/HeaderDecode.h"

namespace ek::mail {

namespace {

// Deeper nesting is left to the parser, which stops at a depth of its own.
constexpr std::size_t kMaxDepth = 8;
// RFC 2046 allows 70 characters; a longer one is left to the parser.
constexpr std::size_t kMaxBoundary = 70;

std::string_view WithoutLf(std::string_view line) {
    return line.ends_with('\n') ? line.substr(0, line.size() - 1) : line;
}

// A field name a MIME parser reads as one: printable ASCII without blanks or colons.
bool IsFieldName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(),
                                        [](char c) { return c > ' ' && c < 0x7F && c != ':'; });
}

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A boundary (or another parameter's value) the parser reads as written: letters,
// digits and "'+_-.=", and inside quotes also "(),/:?" and inner spaces.
bool SimpleBoundary(std::string_view value, bool quoted) {
    if (value.empty() || value.size() > kMaxBoundary || value.back() == ' ') {
        return false;
    }
    constexpr std::string_view kPlain = "'+_-.=";
    constexpr std::string_view kQuoted = "(),/:? ";
    return std::all_of(value.begin(), value.end(), [quoted, kPlain, kQuoted](char c) {
        return IsAsciiAlnum(c) || kPlain.find(c) != std::string_view::npos ||
               (quoted && kQuoted.find(c) != std::string_view::npos);
    });
}

bool IsParameterName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return IsAsciiAlnum(c) || c == '-' || c == '_' || c == '.';
    });
}

// The boundary of a Content-Type that is multipart/mixed, alternative, related or
// report, whose parameters are all simple and name the boundary once.
bool MultipartBoundary(std::string_view value, std::string& boundary) {
    constexpr std::array<std::string_view, 4> kTypes = {"multipart/mixed", "multipart/alternative",
                                                        "multipart/related", "multipart/report"};
    value = TrimSpace(value);
    const std::size_t semicolon = value.find(';');
    const std::string_view type = TrimRightSpace(value.substr(0, semicolon));
    if (semicolon == std::string_view::npos ||
        std::none_of(kTypes.begin(), kTypes.end(),
                     [type](std::string_view t) { return EqualsIgnoringAsciiCase(type, t); })) {
        return false;
    }
    bool found = false;
    std::string_view rest = value.substr(semicolon + 1);
    while (!(rest = TrimLeftSpace(rest)).empty()) {
        const std::size_t equals = rest.find('=');
        if (equals == std::string_view::npos) {
            return false;
        }
        const std::string_view name = TrimRightSpace(rest.substr(0, equals));
        rest = TrimLeftSpace(rest.substr(equals + 1));
        std::string_view parameter;
        const bool quoted = rest.starts_with('"');
        if (quoted) {
            const std::size_t close = rest.find('"', 1);
            if (close == std::string_view::npos) {
                return false;
            }
            parameter = rest.substr(1, close - 1);
            rest = TrimLeftSpace(rest.substr(close + 1));
        } else {
            const std::size_t end = std::min(rest.find(';'), rest.size());
            parameter = TrimRightSpace(rest.substr(0, end));
            rest = rest.substr(end);
        }
        if (!rest.empty()) {
            if (rest.front() != ';') {
                return false;
            }
            rest.remove_prefix(1);
        }
        if (!IsParameterName(name) || !SimpleBoundary(parameter, quoted)) {
            return false;
        }
        if (EqualsIgnoringAsciiCase(name, "boundary")) {
            if (found) {
                return false;
            }
            found = true;
            boundary = "--" + std::string(parameter);
        }
    }
    return found;
}

struct LineAt {
    std::string_view text;  // without its LF
    std::size_t next;       // the offset after its LF
};

// Where the content that starts at `at` ends: the line that opens with a delimiter of
// any open multipart must be `delimiter` itself or its closing form (then `contentEnd`
// is where that line starts and `after` where the next begins); false for any other
// delimiter-like line, or none at all.
bool FindDelimiter(std::string_view text, std::size_t at, const std::vector<std::string>& open,
                   const std::string& delimiter, std::size_t& contentEnd, std::size_t& after,
                   bool& closing) {
    while (at < text.size()) {
        const std::size_t lf = text.find('\n', at);
        const std::size_t next = lf == std::string_view::npos ? text.size() : lf + 1;
        const std::string_view line = WithoutLf(text.substr(at, next - at));
        if (line.starts_with("--") &&
            std::any_of(open.begin(), open.end(),
                        [line](const std::string& d) { return line.starts_with(d); })) {
            closing = line.size() == delimiter.size() + 2 && line.starts_with(delimiter) &&
                      line.ends_with("--");
            if (line != delimiter && !closing) {
                return false;
            }
            contentEnd = at;
            after = next;
            return true;
        }
        at = next;
    }
    return false;
}

// The shown text of the multipart whose body (after its header) is `text`, its
// delimiter the last of `open`.
bool ScanMultipart(std::string_view text, std::vector<std::string>& open, ScannedText& shown) {
    const std::string delimiter = open.back();
    std::size_t contentEnd = 0;
    std::size_t partStart = 0;
    bool closing = false;
    if (!FindDelimiter(text, 0, open, delimiter, contentEnd, partStart, closing) || closing) {
        return false;
    }
    const std::string_view part = text.substr(partStart);
    ContentFields fields;
    if (!ReadContentFields(part, fields) || fields.otherContent || fields.types > 1 ||
        fields.transfers > 1 || (fields.transfers == 1 && !IsIdentityEncoding(fields.transfer))) {
        return false;
    }
    std::string inner;
    if (fields.types == 1 && MultipartBoundary(fields.type, inner)) {
        if (open.size() >= kMaxDepth) {
            return false;
        }
        open.push_back(std::move(inner));
        return ScanMultipart(part.substr(fields.bodyStart), open, shown);
    }
    if (fields.types == 1 && !PlainTextCharset(fields.type, shown.charset)) {
        return false;
    }
    // The content ends before the line feed that comes before the delimiter.
    std::size_t after = 0;
    if (!FindDelimiter(part, fields.bodyStart, open, delimiter, contentEnd, after, closing) ||
        contentEnd <= fields.bodyStart + 1) {
        return false;
    }
    shown.bytes = part.substr(fields.bodyStart, contentEnd - 1 - fields.bodyStart);
    // A line end of CR LF before the delimiter is left to the parser.
    return !shown.bytes.ends_with('\r');
}

}  // namespace

bool ReadContentFields(std::string_view mime, ContentFields& fields) {
    fields = {};
    std::string* collecting = nullptr;
    bool anyField = false;
    std::size_t pos = 0;
    while (pos < mime.size()) {
        const std::size_t lf = mime.find('\n', pos);
        if (lf == std::string_view::npos) {
            return false;  // no body: the parse decides
        }
        const std::string_view line = WithoutLf(mime.substr(pos, lf + 1 - pos));
        pos = lf + 1;
        if (line.empty()) {
            fields.bodyStart = pos;
            return true;
        }
        if (line[0] == ' ' || line[0] == '\t') {
            if (!anyField) {
                return false;
            }
            if (collecting != nullptr) {
                collecting->append(line);
            }
            continue;
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || !IsFieldName(line.substr(0, colon))) {
            return false;
        }
        const std::string_view name = line.substr(0, colon);
        anyField = true;
        collecting = nullptr;
        if (EqualsIgnoringAsciiCase(name, "content-type")) {
            collecting = &fields.type;
            ++fields.types;
        } else if (EqualsIgnoringAsciiCase(name, "content-transfer-encoding")) {
            collecting = &fields.transfer;
            ++fields.transfers;
        } else if (StartsWithIgnoringAsciiCase(name, "content-") &&
                   !EqualsIgnoringAsciiCase(name, "content-description") &&
                   !EqualsIgnoringAsciiCase(name, "content-language") &&
                   !EqualsIgnoringAsciiCase(name, "content-id")) {
            fields.otherContent = true;
        }
        if (collecting != nullptr) {
            collecting->assign(line.substr(colon + 1));
        }
    }
    return false;
}

bool PlainTextCharset(std::string_view value, std::string& charset) {
    value = TrimSpace(value);
    if (!StartsWithIgnoringAsciiCase(value, "text/plain")) {
        return false;
    }
    value = TrimLeftSpace(value.substr(10));
    charset.clear();
    if (value.empty()) {
        return true;
    }
    if (value.front() != ';') {
        return false;
    }
    value = TrimSpace(value.substr(1));
    if (value.ends_with(';')) {
        value = TrimRightSpace(value.substr(0, value.size() - 1));
    }
    if (value.empty()) {
        return true;
    }
    if (!StartsWithIgnoringAsciiCase(value, "charset=")) {
        return false;
    }
    value = value.substr(8);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    const bool simple = !value.empty() && std::all_of(value.begin(), value.end(), [](char c) {
        return c > ' ' && c < 0x7F && c != '"' && c != '\\' && c != ';' && c != '(' && c != '\'' &&
               c != '*';
    });
    if (simple) {
        charset = std::string(value);
    }
    return simple;
}

bool IsIdentityEncoding(std::string_view value) {
    value = TrimSpace(value);
    return EqualsIgnoringAsciiCase(value, "7bit") || EqualsIgnoringAsciiCase(value, "8bit");
}

bool ScanPlainText(std::string_view messageText, ScannedText& text) {
    text.charset.clear();
    const std::string_view mime = WithoutEnvelope(messageText);
    ContentFields fields;
    if (!ReadContentFields(mime, fields) || fields.otherContent || fields.types > 1 ||
        fields.transfers > 1 || (fields.transfers == 1 && !IsIdentityEncoding(fields.transfer)) ||
        (fields.types == 1 && !PlainTextCharset(fields.type, text.charset))) {
        return false;
    }
    text.bytes = mime.substr(fields.bodyStart);
    return true;
}

bool ScanShownText(std::string_view messageText, ScannedText& text) {
    if (ScanPlainText(messageText, text)) {
        return true;
    }
    text.charset.clear();
    const std::string_view mime = WithoutEnvelope(messageText);
    ContentFields fields;
    std::vector<std::string> open(1);
    if (!ReadContentFields(mime, fields) || fields.otherContent || fields.types != 1 ||
        fields.transfers > 1 || (fields.transfers == 1 && !IsIdentityEncoding(fields.transfer)) ||
        !MultipartBoundary(fields.type, open.front())) {
        return false;
    }
    return ScanMultipart(mime.substr(fields.bodyStart), open, text);
}

}  // namespace ek::mail
