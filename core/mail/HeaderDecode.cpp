#include "core/mail/HeaderDecode.h"

#include <gmime/gmime.h>

#include <algorithm>

#include "core/document/EKViewDoc.h"
#include "core/document/TextRules.h"
#include "core/mail/Charset.h"
#include "core/mail/GMimeSupport.h"
#include "core/mail/HeaderRepair.h"
#include "core/platform/Cp932Decode.h"

namespace ek::mail {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsBase64Char(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '/' || c == '=';
}

struct EncodedWord {
    std::size_t end = 0;  // just past "?="
    std::string charset;
    std::string bytes;  // decoded from B or Q
};

std::string DecodeTransfer(std::string_view text, bool base64) {
    std::string out(text.size() + 4, '\0');
    int state = 0;
    guint32 save = 0;
    auto* in = reinterpret_cast<const unsigned char*>(text.data());
    auto* to = reinterpret_cast<unsigned char*>(out.data());
    std::size_t length = 0;
    if (base64) {
        length = g_mime_encoding_base64_decode_step(in, text.size(), to, &state, &save);
    } else {
        std::string spaced(text);
        for (char& c : spaced) {
            c = c == '_' ? ' ' : c;
        }
        length = g_mime_encoding_quoted_decode_step(
            reinterpret_cast<const unsigned char*>(spaced.data()), spaced.size(), to, &state,
            &save);
    }
    out.resize(length);
    return out;
}

// Reads "=?charset?B|Q?text?=" at `pos`; false when no well-formed word starts there.
bool ReadEncodedWord(std::string_view text, std::size_t pos, EncodedWord& word) {
    if (text.compare(pos, 2, "=?") != 0) {
        return false;
    }
    const std::size_t charsetEnd = text.find('?', pos + 2);
    if (charsetEnd == std::string_view::npos || charsetEnd == pos + 2 ||
        charsetEnd + 2 >= text.size() || text[charsetEnd + 2] != '?') {
        return false;
    }
    const char encoding = text[charsetEnd + 1];
    if (encoding != 'B' && encoding != 'b' && encoding != 'Q' && encoding != 'q') {
        return false;
    }
    const std::size_t payload = charsetEnd + 3;
    const std::size_t close = text.find("?=", payload);
    if (close == std::string_view::npos) {
        return false;
    }
    for (std::size_t i = pos + 2; i < charsetEnd; ++i) {
        if (IsBlank(text[i])) {
            return false;
        }
    }
    // Some mailers fold a long word in the middle: blanks in the encoded text are the
    // fold's and go, as long as the rest is encoded text and no other word's start.
    const bool base64 = encoding == 'B' || encoding == 'b';
    std::string encoded;
    for (std::size_t i = payload; i < close; ++i) {
        const char c = text[i];
        if (IsBlank(c)) {
            continue;
        }
        const bool allowed = base64 ? IsBase64Char(c) : c > ' ' && c < 0x7F && c != '?';
        if (!allowed) {
            return false;
        }
        encoded += c;
    }
    word.charset = std::string(text.substr(pos + 2, charsetEnd - pos - 2));
    word.bytes = DecodeTransfer(encoded, base64);
    word.end = close + 2;
    return true;
}

void ReplaceControls(std::string& text) {
    for (char& c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) {
            c = ' ';
        }
    }
}

// Decodes the words and raw text of `raw`; inside a quoted string (when `quoteWords` is
// set) decoded words are escaped, outside it they are quoted, so that an address
// parser reads specials in a display name as text.
std::string DecodeWords(std::string_view raw, bool quoteWords) {
    if (raw.find("=?") == std::string_view::npos) {
        return Cp932TextToUtf8(raw);
    }
    std::string out;
    std::string rawRun;
    std::string wordBytes;
    std::string wordCharset;
    bool inQuotes = false;
    auto flushWords = [&] {
        if (wordCharset.empty() && wordBytes.empty()) {
            return;
        }
        std::string decoded = CharsetToUtf8(wordBytes, wordCharset);
        ReplaceControls(decoded);
        if (quoteWords) {
            std::string escaped;
            for (char c : decoded) {
                if (c == '"' || c == '\\') {
                    escaped += '\\';
                }
                escaped += c;
            }
            out += inQuotes ? escaped : "\"" + escaped + "\"";
        } else {
            out += decoded;
        }
        wordBytes.clear();
        wordCharset.clear();
    };
    auto flushRaw = [&] {
        out += Cp932TextToUtf8(rawRun);
        rawRun.clear();
    };
    std::size_t i = 0;
    EncodedWord word;
    while (i < raw.size()) {
        if (ReadEncodedWord(raw, i, word)) {
            flushRaw();
            if (!wordCharset.empty() && word.charset != wordCharset) {
                flushWords();
            }
            wordCharset = word.charset;
            wordBytes += word.bytes;
            i = word.end;
            // Blanks between two encoded words belong to neither.
            std::size_t next = i;
            while (next < raw.size() && IsBlank(raw[next])) {
                ++next;
            }
            EncodedWord following;
            if (next > i && ReadEncodedWord(raw, next, following)) {
                i = next;
            }
            continue;
        }
        flushWords();
        if (raw[i] == '"' && quoteWords) {
            inQuotes = !inQuotes;
        } else if (raw[i] == '\\' && inQuotes && i + 1 < raw.size()) {
            rawRun += raw[i++];
        }
        rawRun += raw[i++];
    }
    flushWords();
    flushRaw();
    return out;
}

std::string_view WithoutLf(std::string_view line) {
    return line.ends_with('\n') ? line.substr(0, line.size() - 1) : line;
}

std::string FirstAddressName(InternetAddressList* list) {
    if (list == nullptr || internet_address_list_length(list) == 0) {
        return {};
    }
    InternetAddress* first = internet_address_list_get_address(list, 0);
    const char* name = internet_address_get_name(first);
    if (name != nullptr && *name != '\0') {
        return name;
    }
    if (INTERNET_ADDRESS_IS_MAILBOX(first)) {
        const char* address = internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(first));
        return address != nullptr ? address : "";
    }
    if (INTERNET_ADDRESS_IS_GROUP(first)) {
        return FirstAddressName(internet_address_group_get_members(INTERNET_ADDRESS_GROUP(first)));
    }
    return {};
}

}  // namespace

std::string_view WithoutEnvelope(std::string_view messageText) {
    std::size_t pos = 0;
    for (int line = 0; line < 2 && pos < messageText.size(); ++line) {
        const std::size_t lf = messageText.find('\n', pos);
        const std::size_t next = lf == std::string_view::npos ? messageText.size() : lf + 1;
        const std::string_view text = WithoutLf(messageText.substr(pos, next - pos));
        if (line == 0 ? !CEKViewDoc::IsMessageStart(text) : !CEKViewDoc::IsStatusLine(text)) {
            break;
        }
        pos = next;
    }
    return messageText.substr(pos);
}

std::vector<HeaderField> SplitHeader(std::string_view messageText) {
    std::vector<HeaderField> fields;
    std::string repaired;
    const std::string_view header = ReaderHeader(WithoutEnvelope(messageText), repaired);
    std::size_t pos = 0;
    while (pos < header.size()) {
        const std::size_t lf = header.find('\n', pos);
        const std::size_t next = lf == std::string_view::npos ? header.size() : lf + 1;
        std::string_view line = WithoutLf(header.substr(pos, next - pos));
        pos = next;
        if (line.empty()) {
            break;
        }
        if (line[0] == ' ' || line[0] == '\t') {
            if (!fields.empty()) {
                fields.back().rawValue += line;
                continue;
            }
            line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0) {
            continue;  // not a field: a mail client skips it too
        }
        HeaderField field;
        field.name = std::string(line.substr(0, colon));
        std::string_view value = line.substr(colon + 1);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) {
            value.remove_prefix(1);
        }
        field.rawValue = std::string(value);
        fields.push_back(std::move(field));
    }
    return fields;
}

std::string DecodeHeaderText(std::string_view rawValue) {
    const bool plain = std::all_of(rawValue.begin(), rawValue.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F;
    });
    if (plain && rawValue.find("=?") == std::string_view::npos) {
        return std::string(rawValue);
    }
    std::string decoded = DecodeWords(rawValue, false);
    ReplaceControls(decoded);
    return decoded;
}

std::string DecodeSenderName(std::string_view rawFromValue) {
    EnsureGMime();
    std::string prepared = DecodeWords(rawFromValue, true);
    ReplaceControls(prepared);
    static const ParserOptionsPtr options = QuietParserOptions();
    GPtr<InternetAddressList> list(internet_address_list_parse(options.get(), prepared.c_str()));
    std::string name = FirstAddressName(list.get());
    if (name.empty()) {
        name = DecodeHeaderText(rawFromValue);
        // An address the parser refuses (`<aaa bbb>`) is still shown without its
        // brackets, as a reader shows an address.
        const std::size_t first = name.find_first_not_of(' ');
        const std::size_t last = name.find_last_not_of(' ');
        if (first != std::string::npos && last > first + 1 && name[first] == '<' &&
            name[last] == '>' && name.find_first_of("<>", first + 1) == last) {
            name = name.substr(first + 1, last - first - 1);
        }
    }
    ReplaceControls(name);
    return name;
}

ListFields DecodeListFields(std::string_view messageText) {
    // The two fields are gathered in a walk that copies no other field: a list asks
    // this of every row it paints.
    const std::string_view header = WithoutEnvelope(messageText);
    std::string sender;
    std::string subject;
    std::string* collecting = nullptr;
    bool haveSender = false;
    bool haveSubject = false;
    std::size_t pos = 0;
    while (pos < header.size()) {
        const std::size_t lf = header.find('\n', pos);
        const std::size_t next = lf == std::string_view::npos ? header.size() : lf + 1;
        std::string_view line = WithoutLf(header.substr(pos, next - pos));
        const bool firstLine = pos == 0;
        pos = next;
        if (line.empty()) {
            break;
        }
        if ((line[0] == ' ' || line[0] == '\t') && !firstLine) {
            if (collecting != nullptr) {
                collecting->append(line);
            }
            continue;
        }
        line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        collecting = nullptr;
        if (haveSender && haveSubject) {
            break;
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0) {
            continue;
        }
        const std::string_view name = line.substr(0, colon);
        std::string_view value = line.substr(colon + 1);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) {
            value.remove_prefix(1);
        }
        if (!haveSender && EqualsIgnoringAsciiCase(name, "from")) {
            haveSender = true;
            collecting = &sender;
        } else if (!haveSubject && EqualsIgnoringAsciiCase(name, "subject")) {
            haveSubject = true;
            collecting = &subject;
        }
        if (collecting != nullptr) {
            collecting->assign(value);
        }
    }
    ListFields fields;
    fields.sender = haveSender ? DecodeSenderName(sender) : std::string();
    fields.subject = DecodeHeaderText(subject);
    return fields;
}

}  // namespace ek::mail
