#include "core/mail/MimeMessage.h"

#include <gmime/gmime.h>

#include <algorithm>

#include "core/document/TextRules.h"
#include "core/mail/Charset.h"
#include "core/mail/GMimeSupport.h"
#include "core/mail/HeaderDecode.h"
#include "core/mail/HeaderRepair.h"
#include "core/mail/HtmlText.h"
#include "core/mail/PartNames.h"
#include "core/platform/Utf8.h"

namespace ek::mail {

namespace {

// Deeper nesting than any mail client writes; parts below it are not looked at.
constexpr int kMaxDepth = 64;

struct Leaf {
    GMimePart* part = nullptr;
    std::string type;
    bool attachment = false;
};

std::string LowerType(GMimeObject* object) {
    // A type without a subtype ("text") is no type: read it as plain text.
    if (const char* raw = g_mime_object_get_header(object, "Content-Type"); raw != nullptr) {
        const std::string_view value(raw);
        if (value.substr(0, value.find(';')).find('/') == std::string_view::npos) {
            return "text/plain";
        }
    }
    GMimeContentType* contentType = g_mime_object_get_content_type(object);
    if (contentType == nullptr) {
        return "text/plain";
    }
    char* mimeType = g_mime_content_type_get_mime_type(contentType);
    std::string type = mimeType != nullptr ? mimeType : "text/plain";
    g_free(mimeType);
    for (char& c : type) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return type;
}

void CollectLeaves(GMimeObject* object, int depth, std::vector<Leaf>& leaves) {
    if (object == nullptr || depth > kMaxDepth) {
        return;
    }
    if (GMIME_IS_MULTIPART(object)) {
        GMimeMultipart* multipart = GMIME_MULTIPART(object);
        const int count = g_mime_multipart_get_count(multipart);
        for (int i = 0; i < count; ++i) {
            CollectLeaves(g_mime_multipart_get_part(multipart, i), depth + 1, leaves);
        }
    } else if (GMIME_IS_MESSAGE_PART(object)) {
        GMimeMessage* inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object));
        if (inner != nullptr) {
            CollectLeaves(g_mime_message_get_mime_part(inner), depth + 1, leaves);
        }
    } else if (GMIME_IS_PART(object)) {
        GMimeContentDisposition* disposition = g_mime_object_get_content_disposition(object);
        leaves.push_back(
            {GMIME_PART(object), LowerType(object),
             disposition != nullptr && g_mime_content_disposition_is_attachment(disposition)});
    }
}

// What a memory stream holds.
std::string_view MemoryBytes(GMimeStream* stream) {
    GByteArray* array = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(stream));
    return {reinterpret_cast<const char*>(array->data), array->len};
}

// GMime drops a last group of two or three characters, which still holds one or two
// whole bytes: a body cut short keeps them, as other mail readers keep them.
std::string DecodeBase64(std::string_view encoded) {
    std::string out(encoded.size() / 4 * 3 + 4, '\0');
    int state = 0;
    guint32 save = 0;
    auto* to = reinterpret_cast<unsigned char*>(out.data());
    std::size_t size = g_mime_encoding_base64_decode_step(
        reinterpret_cast<const unsigned char*>(encoded.data()), encoded.size(), to, &state, &save);
    // `state` counts the characters of the open group, whose bits are in `save`.
    if (state == 2) {
        to[size++] = static_cast<unsigned char>(save >> 4);
    } else if (state == 3) {
        to[size++] = static_cast<unsigned char>(save >> 10);
        to[size++] = static_cast<unsigned char>(save >> 2);
    }
    out.resize(size);
    return out;
}

bool IsBase64Sign(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '/' || c == '=';
}

// Control bytes no text holds, or bytes that break the UTF-8 the part is labelled with.
bool IsNoise(std::string_view decoded, std::string_view charset) {
    std::string label(TrimSpace(charset));
    std::erase(label, '"');
    if ((EqualsIgnoringAsciiCase(label, "utf-8") || EqualsIgnoringAsciiCase(label, "utf8")) &&
        !utf8::IsValid(decoded)) {
        return true;
    }
    return std::any_of(decoded.begin(), decoded.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != 0x1B;
    });
}

// Encoders write base64 in unbroken lines. Lines that mostly hold blanks between
// words, whose signs make no base64 (a count no encoder writes, signs outside its
// alphabet) or decode to noise, are words under a wrong label.
bool IsWordsUnderBase64Label(std::string_view encoded, std::string_view decoded,
                             std::string_view charset) {
    std::size_t lines = 0;
    std::size_t spaced = 0;
    std::size_t signs = 0;
    std::size_t others = 0;
    for (std::size_t pos = 0; pos < encoded.size();) {
        const std::size_t lf = std::min(encoded.find('\n', pos), encoded.size());
        std::string_view line = encoded.substr(pos, lf - pos);
        pos = lf + 1;
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string_view::npos) {
            continue;
        }
        line = line.substr(first, line.find_last_not_of(" \t\r") + 1 - first);
        ++lines;
        spaced += line.find_first_of(" \t") != std::string_view::npos;
        for (char c : line) {
            signs += IsBase64Sign(c);
            others += !IsBase64Sign(c) && c != ' ' && c != '\t';
        }
    }
    return spaced >= 2 && spaced * 2 >= lines &&
           (signs % 4 == 1 || others > 0 || IsNoise(decoded, charset));
}

// The part's content as stored, before its transfer encoding is undone.
std::string EncodedBytes(GMimeDataWrapper* content) {
    GPtr<GMimeStream> sink(g_mime_stream_mem_new());
    GMimeStream* encoded = g_mime_data_wrapper_get_stream(content);
    g_mime_stream_reset(encoded);
    g_mime_stream_write_to_stream(encoded, sink.get());
    return std::string(MemoryBytes(sink.get()));
}

std::string PartBytes(GMimePart* part) {
    GMimeDataWrapper* content = g_mime_part_get_content(part);
    if (content == nullptr) {
        return {};
    }
    if (g_mime_data_wrapper_get_encoding(content) == GMIME_CONTENT_ENCODING_BASE64) {
        return DecodeBase64(EncodedBytes(content));
    }
    GPtr<GMimeStream> sink(g_mime_stream_mem_new());
    g_mime_data_wrapper_write_to_stream(content, sink.get());
    return std::string(MemoryBytes(sink.get()));
}

// The text of a part shown as the body; words sent under a base64 label are shown
// as they stand, since their decoding is noise.
std::string PartText(GMimePart* part) {
    const char* charset = g_mime_object_get_content_type_parameter(GMIME_OBJECT(part), "charset");
    std::string bytes = PartBytes(part);
    GMimeDataWrapper* content = g_mime_part_get_content(part);
    if (content != nullptr &&
        g_mime_data_wrapper_get_encoding(content) == GMIME_CONTENT_ENCODING_BASE64) {
        std::string encoded = EncodedBytes(content);
        if (IsWordsUnderBase64Label(encoded, bytes, charset != nullptr ? charset : "")) {
            bytes = std::move(encoded);
        }
    }
    return CharsetToUtf8(bytes, charset != nullptr ? charset : "");
}

// A first header line that begins with blanks continues nothing; GMime would then
// read no header and no structure, so the blanks go, as other readers drop them.
std::string_view WithoutLeadingBlanks(std::string_view mime) {
    const std::size_t start = mime.find_first_not_of(" \t");
    if (start == 0 || start == std::string_view::npos || mime[start] == '\n' ||
        mime[start] == '\r') {
        return mime;
    }
    return mime.substr(start);
}

class ParsedMessage {
  public:
    explicit ParsedMessage(std::string_view messageText) {
        std::string repaired;
        const std::string_view mime =
            RepairedMessage(WithoutLeadingBlanks(WithoutEnvelope(messageText)), repaired);
        ParserOptionsPtr options = QuietParserOptions();
        GPtr<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(mime.data(), mime.size()));
        GPtr<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
        g_mime_parser_set_format(parser.get(), GMIME_FORMAT_MESSAGE);
        m_message.reset(g_mime_parser_construct_message(parser.get(), options.get()));
        if (m_message) {
            CollectLeaves(g_mime_message_get_mime_part(m_message.get()), 0, m_leaves);
        }
    }
    bool ok() const { return m_message != nullptr; }
    const std::vector<Leaf>& leaves() const { return m_leaves; }

  private:
    GPtr<GMimeMessage> m_message;
    std::vector<Leaf> m_leaves;
};

int FindBody(const std::vector<Leaf>& leaves, std::string_view type) {
    for (std::size_t i = 0; i < leaves.size(); ++i) {
        if (!leaves[i].attachment && leaves[i].type == type) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

// The text after the header when header lines are shown above it, else all of it.
std::string BodyAfterHeader(std::string_view messageText, bool headerShown) {
    const std::string_view mime = WithoutEnvelope(messageText);
    const std::size_t start = headerShown ? BodyOffset(mime) : 0;
    return WithLfEnds(CharsetToUtf8(mime.substr(start), ""));
}

}  // namespace

std::string WithLfEnds(std::string text) {
    // Most text has no CR at all: it keeps its bytes and gains at most the last LF.
    if (text.find('\r') == std::string::npos) {
        if (!text.empty() && text.back() != '\n') {
            text += '\n';
        }
        return text;
    }
    std::string out;
    out.reserve(text.size() + 1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] == '\n')) {
            continue;
        }
        out += text[i];
    }
    if (!out.empty() && out.back() != '\n') {
        out += '\n';
    }
    return out;
}

namespace {

// Chooses the body among the leaves of `parsed` and decodes it; false when the message
// has no MIME structure to choose from (then the body is the text after the header shown).
bool ReadBody(const ParsedMessage& parsed, std::string_view messageText, bool headerShown,
              DecodedMessage& decoded) {
    if (!parsed.ok() || parsed.leaves().empty()) {
        decoded.status = DecodeStatus::Unstructured;
        decoded.body = BodyAfterHeader(messageText, headerShown);
        return false;
    }
    const std::vector<Leaf>& leaves = parsed.leaves();
    decoded.bodyPart = FindBody(leaves, "text/plain");
    if (decoded.bodyPart == 0) {
        decoded.bodyPart = FindBody(leaves, "text/html");
        decoded.bodyFromHtml = decoded.bodyPart != 0;
    }
    if (decoded.bodyPart != 0) {
        std::string text = PartText(leaves[static_cast<std::size_t>(decoded.bodyPart) - 1].part);
        decoded.body = WithLfEnds(decoded.bodyFromHtml ? HtmlToText(text) : std::move(text));
    }
    return true;
}

}  // namespace

std::string DecodeBody(std::string_view messageText) {
    EnsureGMime();
    DecodedMessage decoded;
    ReadBody(ParsedMessage(messageText), messageText, !SplitHeader(messageText).empty(), decoded);
    return std::move(decoded.body);
}

DecodedMessage DecodeMessage(std::string_view messageText, int messageIndex) {
    DecodedMessage decoded;
    for (const HeaderField& field : SplitHeader(messageText)) {
        decoded.headerLines.push_back(DecodeHeaderText(field.name) + ": " +
                                      DecodeHeaderText(field.rawValue) + "\n");
    }
    EnsureGMime();
    ParsedMessage parsed(messageText);
    if (!ReadBody(parsed, messageText, !decoded.headerLines.empty(), decoded)) {
        return decoded;
    }
    const std::vector<Leaf>& leaves = parsed.leaves();
    for (std::size_t i = 0; i < leaves.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        if (number == decoded.bodyPart) {
            continue;
        }
        Attachment attachment;
        attachment.part = number;
        attachment.type = leaves[i].type;
        attachment.size = PartBytes(leaves[i].part).size();
        const char* name = g_mime_part_get_filename(leaves[i].part);
        attachment.named = name != nullptr && *name != '\0';
        attachment.filename = attachment.named ? std::string(name)
                                               : MadeUpName(messageIndex, number, attachment.type);
        if (!ek::utf8::IsValid(attachment.filename)) {
            attachment.filename = CharsetToUtf8(attachment.filename, "");
        }
        decoded.attachments.push_back(std::move(attachment));
    }
    return decoded;
}

bool ReadPartBytes(std::string_view messageText, int part, std::string& bytes) {
    EnsureGMime();
    ParsedMessage parsed(messageText);
    if (!parsed.ok() || part < 1 || static_cast<std::size_t>(part) > parsed.leaves().size()) {
        return false;
    }
    bytes = PartBytes(parsed.leaves()[static_cast<std::size_t>(part) - 1].part);
    return true;
}

}  // namespace ek::mail
