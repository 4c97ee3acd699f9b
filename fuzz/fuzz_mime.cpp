// The MIME layer over arbitrary message text: decoding never fails, its text is valid
// UTF-8, display lines keep their shape, part numbers are in order and every listed
// part can be read; safe names stay inside a folder; the body the search reads
// equals the body shown.
#include "core/mail/Charset.h"
#include "core/mail/DecodedLines.h"
#include "core/mail/DecodedSearchText.h"
#include "core/mail/HeaderDecode.h"
#include "core/mail/MimeMessage.h"
#include "core/mail/PartNames.h"
#include "core/platform/Utf8.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ek::mail;
    const std::string_view text = ek::fuzz::AsText(data, size);

    DecodedMessage message = DecodeMessage(text, 1);
    EK_FUZZ_CHECK(ek::utf8::IsValid(message.body));
    int previous = 0;
    for (const Attachment& attachment : message.attachments) {
        EK_FUZZ_CHECK(attachment.part > previous && attachment.part != message.bodyPart);
        previous = attachment.part;
        EK_FUZZ_CHECK(ek::utf8::IsValid(attachment.filename));
        std::string bytes;
        EK_FUZZ_CHECK(ReadPartBytes(text, attachment.part, bytes));
        EK_FUZZ_CHECK(bytes.size() == attachment.size);
        const std::string safe = SafeFileName(attachment.filename, "x");
        EK_FUZZ_CHECK(!safe.empty() && safe.size() <= kMaxFileNameBytes);
        EK_FUZZ_CHECK(safe.find_first_of("/\\") == std::string::npos && safe != "..");
        EK_FUZZ_CHECK(ek::utf8::IsValid(safe));
    }
    for (bool showAll : {false, true}) {
        DecodedLines lines = BuildDecodedLines(message, showAll);
        EK_FUZZ_CHECK(lines.note == !message.attachments.empty());
        for (std::size_t i = 0; i < lines.lines.size(); ++i) {
            const bool isNote = lines.note && i + 1 == lines.lines.size();
            EK_FUZZ_CHECK(isNote || ek::fuzz::IsStoredLine(lines.lines[i]));
            EK_FUZZ_CHECK(ek::utf8::IsValid(lines.lines[i]));
        }
    }
    for (const std::string& line : message.headerLines) {
        EK_FUZZ_CHECK(ek::fuzz::IsStoredLine(line));
    }
    std::string plain;
    EK_FUZZ_CHECK(!DecodePlainBody(text, plain) || plain == message.body);
    EK_FUZZ_CHECK(DecodeShownBody(text) == message.body);
    ListFields fields = DecodeListFields(text);
    EK_FUZZ_CHECK(ek::utf8::IsValid(fields.sender) && ek::utf8::IsValid(fields.subject));
    EK_FUZZ_CHECK(fields.subject.find('\n') == std::string::npos);
    return 0;
}
