#include "core/mail/HeaderRepair.h"

#include <gmime/gmime.h>

#include <algorithm>
#include <vector>

#include "core/document/TextRules.h"
#include "core/mail/GMimeSupport.h"

namespace ek::mail {

namespace {

constexpr std::size_t kNone = std::string_view::npos;
constexpr std::size_t kLongestBoundary = 998;

struct Line {
    std::string_view text;  // without its line end
    std::size_t begin = 0;
    std::size_t next = 0;  // where the following line begins
};

Line LineAt(std::string_view text, std::size_t pos) {
    const std::size_t lf = text.find('\n', pos);
    const std::size_t end = lf == kNone ? text.size() : lf;
    std::string_view line = text.substr(pos, end - pos);
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return {line, pos, lf == kNone ? text.size() : lf + 1};
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool StartsWithBlank(std::string_view line) {
    return !line.empty() && IsBlank(line.front());
}

bool IsBlankLine(std::string_view line) {
    return !line.empty() && std::all_of(line.begin(), line.end(), IsBlank);
}

// A field as the header view reads one: a name before a colon.
bool IsFieldLine(std::string_view line) {
    const std::size_t colon = line.find(':');
    return !StartsWithBlank(line) && colon != kNone && colon > 0;
}

bool IsTokenChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("!#$%&'*+-.^_`|~").find(c) != kNone;
}

// `attribute=value`, the shape of a parameter and of no field.
bool IsParameterLine(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && IsTokenChar(line[i])) {
        ++i;
    }
    return i > 0 && i < line.size() && line[i] == '=';
}

bool TakesParameters(std::string_view name) {
    name = TrimSpace(name);
    return EqualsIgnoringAsciiCase(name, "content-type") ||
           EqualsIgnoringAsciiCase(name, "content-disposition");
}

bool EndsWithSemicolon(std::string_view value) {
    value = TrimSpace(value);
    return !value.empty() && value.back() == ';';
}

// Follows the fields of one header, line by line, to tell a parameter line that
// continues the field before it.
class FieldTracker {
  public:
    // True when `line` is a parameter line that continues the current field.
    bool ContinuesWithParameter(std::string_view line) const {
        return m_takesParameters && EndsWithSemicolon(m_value) && IsParameterLine(line);
    }
    void Start(std::string_view line) {
        const std::size_t colon = line.find(':');
        const std::string_view name = TrimSpace(line.substr(0, colon));
        m_takesParameters = TakesParameters(name);
        m_isContentType = EqualsIgnoringAsciiCase(name, "content-type");
        m_value.assign(m_takesParameters ? line.substr(colon + 1) : std::string_view());
    }
    void Continue(std::string_view line) {
        if (m_takesParameters) {
            m_value.append(line);
        }
    }
    void Stop() {
        m_takesParameters = m_isContentType = false;
        m_value.clear();
    }
    bool IsContentType() const { return m_isContentType; }
    const std::string& Value() const { return m_value; }

  private:
    bool m_takesParameters = false;
    bool m_isContentType = false;
    std::string m_value;
};

struct ContentTypeField {
    std::size_t begin = 0;
    std::size_t next = 0;  // past its last continuation line
    std::string value;
};

// Where a message's header ends and what in it needs repair.
struct HeaderPlan {
    std::size_t end = 0;               // the header is [0, end)
    std::size_t bodyStart = 0;         // after the line that ends it; == end when there is none
    std::vector<std::size_t> indents;  // parameter lines to indent, by offset
    std::vector<ContentTypeField> contentTypes;
};

bool HasSubtype(std::string_view value) {
    return value.substr(0, value.find(';')).find('/') != kNone;
}

// The boundary of a multipart Content-Type value; empty for any other.
std::string MultipartBoundary(const std::string& value) {
    ParserOptionsPtr options = QuietParserOptions();
    GPtr<GMimeContentType> type(g_mime_content_type_parse(options.get(), value.c_str()));
    if (!type || !g_mime_content_type_is_type(type.get(), "multipart", "*")) {
        return {};
    }
    const char* boundary = g_mime_content_type_get_parameter(type.get(), "boundary");
    return boundary != nullptr ? boundary : "";
}

const ContentTypeField* FirstUsable(const std::vector<ContentTypeField>& fields) {
    for (const ContentTypeField& field : fields) {
        if (HasSubtype(TrimSpace(field.value))) {
            return &field;
        }
    }
    return nullptr;
}

// A mailer that forgets the empty line after the header starts the body with text
// that is no field; the message's own delimiter before any empty line shows it.
bool DelimiterFollows(std::string_view mime, std::size_t from, const std::string& boundary) {
    if (boundary.empty()) {
        return false;
    }
    const std::string delimiter = "--" + boundary;
    for (std::size_t pos = from; pos < mime.size();) {
        const Line line = LineAt(mime, pos);
        if (line.text.empty()) {
            return false;
        }
        if (line.text.starts_with(delimiter)) {
            return true;
        }
        pos = line.next;
    }
    return false;
}

HeaderPlan PlanHeader(std::string_view mime) {
    HeaderPlan plan;
    plan.end = plan.bodyStart = mime.size();
    FieldTracker field;
    ContentTypeField* contentType = nullptr;
    std::size_t firstNonField = kNone;
    for (std::size_t pos = 0; pos < mime.size();) {
        const Line line = LineAt(mime, pos);
        pos = line.next;
        if (line.text.empty()) {
            plan.end = line.begin;
            plan.bodyStart = line.next;
            break;
        }
        if (IsBlankLine(line.text) && line.next < mime.size()) {
            const std::string_view after = LineAt(mime, line.next).text;
            if (!after.empty() && !StartsWithBlank(after) && !IsFieldLine(after)) {
                plan.end = line.begin;
                plan.bodyStart = line.next;
                break;
            }
        }
        const bool parameter = field.ContinuesWithParameter(line.text);
        if (StartsWithBlank(line.text) || parameter) {
            if (parameter) {
                plan.indents.push_back(line.begin);
            }
            field.Continue(line.text);
        } else if (IsFieldLine(line.text)) {
            field.Start(line.text);
            contentType = nullptr;
            if (field.IsContentType()) {
                plan.contentTypes.push_back({line.begin, line.next, field.Value()});
                contentType = &plan.contentTypes.back();
            }
            continue;
        } else {
            field.Stop();
            contentType = nullptr;
            firstNonField = std::min(firstNonField, line.begin);
            continue;
        }
        if (contentType != nullptr) {
            contentType->next = line.next;
            contentType->value = field.Value();
        }
    }
    if (firstNonField == kNone || firstNonField >= plan.end) {
        return plan;
    }
    std::vector<ContentTypeField> before;
    for (const ContentTypeField& type : plan.contentTypes) {
        if (type.begin < firstNonField) {
            before.push_back(type);
        }
    }
    const ContentTypeField* usable = FirstUsable(before);
    if (usable != nullptr &&
        DelimiterFollows(mime, firstNonField, MultipartBoundary(usable->value))) {
        plan.end = plan.bodyStart = firstNonField;
        plan.contentTypes = std::move(before);
        std::erase_if(plan.indents, [&](std::size_t at) { return at >= firstNonField; });
    }
    return plan;
}

// Parameter lines in the headers of parts, a part's header being the field lines
// after a delimiter of the message's multipart or of a multipart inside it.
void PlanPartHeaders(std::string_view mime, std::size_t from, const std::string& boundary,
                     std::vector<std::size_t>& indents) {
    std::vector<std::string> delimiters{"--" + boundary};
    const auto isDelimiter = [&](std::string_view line) {
        return std::any_of(delimiters.begin(), delimiters.end(),
                           [&](const std::string& d) { return line.starts_with(d); });
    };
    bool inHeader = false;
    FieldTracker field;
    std::string contentType;
    for (std::size_t pos = from; pos < mime.size();) {
        const Line line = LineAt(mime, pos);
        pos = line.next;
        if (line.text.starts_with("--") && isDelimiter(line.text)) {
            inHeader = true;
            field.Stop();
            contentType.clear();
            continue;
        }
        if (!inHeader) {
            continue;
        }
        const bool parameter = field.ContinuesWithParameter(line.text);
        if (line.text.empty() ||
            (!StartsWithBlank(line.text) && !IsFieldLine(line.text) && !parameter)) {
            inHeader = false;
            // Parts inside are read up to GMime's depth; so many boundaries are never needed.
            if (const std::string inner = MultipartBoundary(contentType);
                !inner.empty() && delimiters.size() < 64) {
                delimiters.push_back("--" + inner);
            }
            continue;
        }
        if (parameter) {
            indents.push_back(line.begin);
        }
        if (StartsWithBlank(line.text) || parameter) {
            field.Continue(line.text);
        } else {
            field.Start(line.text);
        }
        if (field.IsContentType()) {
            contentType = field.Value();
        }
    }
}

// GMime finds a delimiter only within its read buffer of a few KB. A boundary longer
// than a header line may be (998 bytes) is given a short stand-in, in the header and
// on each line that begins with its delimiter; false where it is not long or the
// header does not hold it as it stands.
bool WithShortBoundary(std::string_view text, const std::string& boundary, std::string& out) {
    if (boundary.size() <= kLongestBoundary) {
        return false;
    }
    const std::size_t body = BodyOffset(text);
    const std::size_t inHeader = text.find(boundary);
    std::string standIn = "ekview-boundary";
    for (int tries = 0; tries < 100 && text.find(standIn) != kNone; ++tries) {
        standIn = "ekview-boundary-" + std::to_string(tries);
    }
    if (inHeader == kNone || inHeader + boundary.size() > body || text.find(standIn) != kNone) {
        return false;
    }
    const std::string delimiter = "--" + boundary;
    out.reserve(text.size());
    out.append(text.substr(0, inHeader));
    out += standIn;
    out.append(text.substr(inHeader + boundary.size(), body - inHeader - boundary.size()));
    for (std::size_t pos = body; pos < text.size();) {
        const Line line = LineAt(text, pos);
        if (line.text.starts_with(delimiter)) {
            out += "--" + standIn;
            pos += delimiter.size();
        }
        out.append(text.substr(pos, line.next - pos));
        pos = line.next;
    }
    return true;
}

// [begin, end) of `mime` with a blank before each line in `indents` and the ranges in
// `dropped` left out.
void CopyWithEdits(std::string_view mime, std::size_t begin, std::size_t end,
                   const std::vector<std::size_t>& indents,
                   const std::vector<ContentTypeField>& dropped, std::string& out) {
    std::size_t pos = begin;
    auto indent = std::lower_bound(indents.begin(), indents.end(), begin);
    auto drop = dropped.begin();
    while (pos < end) {
        std::size_t stop = end;
        if (indent != indents.end() && *indent < stop) {
            stop = *indent;
        }
        while (drop != dropped.end() && drop->next <= pos) {
            ++drop;
        }
        if (drop != dropped.end() && drop->begin < stop) {
            stop = std::max(drop->begin, pos);
        }
        out.append(mime.substr(pos, stop - pos));
        pos = stop;
        if (drop != dropped.end() && drop->begin <= pos && pos < drop->next) {
            pos = std::min(drop->next, end);
            while (indent != indents.end() && *indent < pos) {
                ++indent;
            }
            continue;
        }
        if (indent != indents.end() && *indent == pos) {
            out += ' ';
            ++indent;
        }
    }
}

}  // namespace

std::string_view ReaderHeader(std::string_view mime, std::string& storage) {
    const HeaderPlan plan = PlanHeader(mime);
    if (plan.indents.empty()) {
        return mime.substr(0, plan.end);
    }
    storage.clear();
    CopyWithEdits(mime, 0, plan.end, plan.indents, {}, storage);
    return storage;
}

std::size_t BodyOffset(std::string_view mime) {
    return PlanHeader(mime).bodyStart;
}

std::string_view RepairedMessage(std::string_view mime, std::string& storage) {
    HeaderPlan plan = PlanHeader(mime);
    std::vector<ContentTypeField> dropped;
    if (plan.contentTypes.size() > 1) {
        if (const ContentTypeField* kept = FirstUsable(plan.contentTypes); kept != nullptr) {
            for (const ContentTypeField& type : plan.contentTypes) {
                if (&type != kept) {
                    dropped.push_back(type);
                }
            }
        }
    }
    const bool separatorMissing = plan.end == plan.bodyStart && plan.end < mime.size();
    const bool blankSeparator = plan.bodyStart > plan.end && !LineAt(mime, plan.end).text.empty();
    std::vector<std::size_t> indents = plan.indents;
    const ContentTypeField* type = FirstUsable(plan.contentTypes);
    if (type != nullptr && StartsWithIgnoringAsciiCase(TrimSpace(type->value), "multipart/")) {
        if (const std::string boundary = MultipartBoundary(type->value); !boundary.empty()) {
            PlanPartHeaders(mime, plan.bodyStart, boundary, indents);
        }
    }
    std::string_view repaired = mime;
    if (!indents.empty() || !dropped.empty() || separatorMissing || blankSeparator) {
        storage.clear();
        storage.reserve(mime.size() + indents.size() + 1);
        CopyWithEdits(mime, 0, plan.end, indents, dropped, storage);
        if (separatorMissing || blankSeparator) {
            storage += '\n';
        } else {
            storage.append(mime.substr(plan.end, plan.bodyStart - plan.end));
        }
        CopyWithEdits(mime, plan.bodyStart, mime.size(), indents, {}, storage);
        repaired = storage;
    }
    if (type != nullptr && type->next - type->begin > kLongestBoundary) {
        if (std::string shortened;
            WithShortBoundary(repaired, MultipartBoundary(type->value), shortened)) {
            storage = std::move(shortened);
            repaired = storage;
        }
    }
    return repaired;
}

}  // namespace ek::mail
