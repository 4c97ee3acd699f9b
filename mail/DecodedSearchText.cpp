#include "mail/DecodedSearchText.h"

#include <algorithm>

#include "document/EKViewDoc.h"
#include "document/TextRules.h"
#include "mail/Charset.h"
#include "mail/GMimeSupport.h"
#include "mail/HeaderDecode.h"
#include "mail/MimeMessage.h"

namespace ek::mail {

namespace {

using search::SearchField;

std::string_view WithoutLf(std::string_view line) {
    return line.ends_with('\n') ? line.substr(0, line.size() - 1) : line;
}

// A field name a MIME parser reads as one: printable ASCII without blanks or colons.
bool IsFieldName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(),
                                        [](char c) { return c > ' ' && c < 0x7F && c != ':'; });
}

// The charset of a Content-Type that is "text/plain" with at most a simple charset
// parameter ("text/plain; charset=X" or "charset=\"X\""); false for anything else.
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

// The stored bytes and the charset of a body that DecodePlainBody reads; false where
// the parse must decide.
bool PlainBodyBytes(std::string_view messageText, std::string_view& bytes, std::string& charset) {
    charset.clear();
    const std::string_view mime = WithoutEnvelope(messageText);
    std::string contentType;
    std::string transfer;
    std::string* collecting = nullptr;
    int types = 0;
    int transfers = 0;
    bool anyField = false;
    std::size_t pos = 0;
    bool ended = false;
    while (pos < mime.size()) {
        const std::size_t lf = mime.find('\n', pos);
        if (lf == std::string_view::npos) {
            return false;  // no body: the parse decides
        }
        const std::string_view line = WithoutLf(mime.substr(pos, lf + 1 - pos));
        pos = lf + 1;
        if (line.empty()) {
            ended = true;
            break;
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
            collecting = &contentType;
            ++types;
        } else if (EqualsIgnoringAsciiCase(name, "content-transfer-encoding")) {
            collecting = &transfer;
            ++transfers;
        } else if (StartsWithIgnoringAsciiCase(name, "content-")) {
            return false;  // a disposition, an id: the parse decides
        }
        if (collecting != nullptr) {
            collecting->assign(line.substr(colon + 1));
        }
    }
    if (!ended || types > 1 || transfers > 1 || (transfers == 1 && !IsIdentityEncoding(transfer)) ||
        (types == 1 && !PlainTextCharset(contentType, charset))) {
        return false;
    }
    bytes = mime.substr(pos);
    return true;
}

}  // namespace

bool DecodePlainBody(std::string_view messageText, std::string& body) {
    std::string_view bytes;
    std::string charset;
    if (!PlainBodyBytes(messageText, bytes, charset)) {
        return false;
    }
    body = WithLfEnds(CharsetToUtf8(bytes, charset));
    return true;
}

std::string DecodeShownBody(std::string_view messageText) {
    std::string body;
    if (!DecodePlainBody(messageText, body)) {
        body = DecodeBody(messageText);
    }
    return body;
}

DecodedFieldText::DecodedFieldText(const CEKViewDoc& doc) : m_doc(doc) {
    EnsureGMime();
}

int DecodedFieldText::MessageCount() const {
    return m_doc.GetMessageCount();
}

void DecodedFieldText::AppendFieldText(int index, SearchField field,
                                       std::vector<std::string_view>& pieces) {
    const std::string_view text = m_doc.MessageLines(index).text();
    m_texts.clear();
    m_stored.clear();
    if (field != SearchField::Body) {
        for (const HeaderField& header : SplitHeader(text)) {
            const bool wanted = [&] {
                switch (field) {
                    case SearchField::Subject:
                        return EqualsIgnoringAsciiCase(header.name, "subject");
                    case SearchField::Sender:
                        return EqualsIgnoringAsciiCase(header.name, "from");
                    case SearchField::Recipients:
                        return EqualsIgnoringAsciiCase(header.name, "to") ||
                               EqualsIgnoringAsciiCase(header.name, "cc");
                    case SearchField::Header:
                    case SearchField::All:
                    case SearchField::Body:
                        break;
                }
                return true;
            }();
            if (!wanted) {
                continue;
            }
            if (field == SearchField::Header || field == SearchField::All) {
                m_texts.push_back(DecodeHeaderText(header.name) + ": " +
                                  DecodeHeaderText(header.rawValue));
            } else {
                m_texts.push_back(DecodeHeaderText(header.rawValue));
            }
        }
    }
    if (field == SearchField::Body || field == SearchField::All) {
        // A plain CP932 body is its stored bytes decoded, line ends aside (which no
        // match takes in): it is searched as stored.
        std::string_view bytes;
        std::string charset;
        if (PlainBodyBytes(text, bytes, charset) && IsCp932Label(charset)) {
            m_stored.push_back(bytes);
        } else {
            m_texts.push_back(DecodeShownBody(text));
        }
    }
    // Views are taken once the strings no longer move.
    for (const std::string& piece : m_texts) {
        pieces.push_back(piece);
    }
}

}  // namespace ek::mail
