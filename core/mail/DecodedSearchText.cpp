#include "core/mail/DecodedSearchText.h"

#include <algorithm>

#include "core/document/EKViewDoc.h"
#include "core/document/TextRules.h"
#include "core/mail/BodyScan.h"
#include "core/mail/Charset.h"
#include "core/mail/GMimeSupport.h"
#include "core/mail/HeaderDecode.h"
#include "core/mail/MimeMessage.h"

namespace ek::mail {

namespace {

using search::SearchField;

std::string DecodeScanned(const ScannedText& text) {
    return WithLfEnds(CharsetToUtf8(text.bytes, text.charset));
}

}  // namespace

bool DecodePlainBody(std::string_view messageText, std::string& body) {
    ScannedText text;
    if (!ScanPlainText(messageText, text)) {
        return false;
    }
    body = DecodeScanned(text);
    return true;
}

bool DecodeScannedBody(std::string_view messageText, std::string& body) {
    ScannedText text;
    if (!ScanShownText(messageText, text)) {
        return false;
    }
    body = DecodeScanned(text);
    return true;
}

std::string DecodeShownBody(std::string_view messageText) {
    std::string body;
    if (!DecodeScannedBody(messageText, body)) {
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
        // A plain CP932 text is its stored bytes decoded, line ends aside (which no
        // match takes in): it is searched as stored.
        ScannedText scanned;
        if (!ScanShownText(text, scanned)) {
            m_texts.push_back(DecodeBody(text));
        } else if (IsCp932Label(scanned.charset)) {
            m_stored.push_back(scanned.bytes);
        } else {
            m_texts.push_back(DecodeScanned(scanned));
        }
    }
    // Views are taken once the strings no longer move.
    for (const std::string& piece : m_texts) {
        pieces.push_back(piece);
    }
}

}  // namespace ek::mail
