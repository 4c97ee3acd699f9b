// The decoded text a search looks at: each field as the decoded view shows it, UTF-8.
// The body is the one the decoded view shows; a plain one-part text, or a multipart
// whose first part is one, is decoded without the MIME parser (BodyScan.h), which
// gives the same text at a fraction of the cost.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/document/MailSearch.h"

namespace ek {
class CEKViewDoc;
}

namespace ek::mail {

// The body the decoded view shows for a stored message (DecodeMessage's body).
std::string DecodeShownBody(std::string_view messageText);

// The same, when the header declares a plain one-part text that needs no MIME parse;
// false (and `body` untouched) otherwise. Exposed so that tests hold it to the parse.
bool DecodePlainBody(std::string_view messageText, std::string& body);

// The same for every message the scan reads, multiparts too (ScanShownText).
bool DecodeScannedBody(std::string_view messageText, std::string& body);

class DecodedFieldText : public search::FieldTextProvider {
  public:
    // Starts GMime, so that the first reader made on the main thread starts it there
    // and readers on other threads find it started.
    explicit DecodedFieldText(const CEKViewDoc& doc);
    search::TextEncoding Encoding() const override { return search::TextEncoding::Utf8; }
    int MessageCount() const override;
    // Subject, From, To and Cc are their decoded values, one line each (folded lines
    // joined); the header is the decoded header lines; the body is the shown body; all
    // is the header and the body.
    void AppendFieldText(int index, search::SearchField field,
                         std::vector<std::string_view>& pieces) override;
    const std::vector<std::string_view>& StoredPieces() const override { return m_stored; }

  private:
    const CEKViewDoc& m_doc;
    std::vector<std::string> m_texts;
    std::vector<std::string_view> m_stored;
};

}  // namespace ek::mail
