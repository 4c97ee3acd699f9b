#include "shell/DecodedView.h"

#include "core/mail/DecodedLines.h"
#include "core/mail/DecodedSearchText.h"
#include "core/mail/HeaderDecode.h"
#include "core/mail/MimeMessage.h"
#include "core/mail/PartNames.h"
#include "core/mail/SaveAttachment.h"

namespace ek {

bool CanDecodeMessages() {
    return true;
}

bool GetDecodedLines(const CEKViewDoc& doc, int index, bool allHeaders,
                     std::vector<std::string>& lines, bool& note) {
    if (index < 0 || index >= doc.GetMessageCount()) {
        return false;
    }
    mail::DecodedLines decoded = mail::BuildDecodedLines(
        mail::DecodeMessage(doc.MessageLines(index).text(), index), allHeaders);
    lines = std::move(decoded.lines);
    note = decoded.note;
    return true;
}

std::unique_ptr<search::FieldTextProvider> MakeDecodedFieldText(const CEKViewDoc& doc) {
    return std::make_unique<mail::DecodedFieldText>(doc);
}

void DecodeListFields(const CEKViewDoc& doc, int index, std::vector<std::string>& fields) {
    mail::ListFields decoded = mail::DecodeListFields(doc.MessageLines(index).text());
    fields.resize(3);
    fields[1] = std::move(decoded.sender);
    fields[2] = std::move(decoded.subject);
}

std::vector<AttachmentItem> ListAttachments(const CEKViewDoc& doc, int index) {
    std::vector<AttachmentItem> items;
    if (index < 0 || index >= doc.GetMessageCount()) {
        return items;
    }
    for (const mail::Attachment& attachment :
         mail::DecodeMessage(doc.MessageLines(index).text(), index).attachments) {
        items.push_back({attachment.part, attachment.filename, attachment.type, attachment.size});
    }
    return items;
}

bool SaveAttachment(const CEKViewDoc& doc, int index, const AttachmentItem& item,
                    const std::string& folder, std::string& pathOrReason) {
    std::string bytes;
    if (index < 0 || index >= doc.GetMessageCount() ||
        !mail::ReadPartBytes(doc.MessageLines(index).text(), item.part, bytes)) {
        pathOrReason = "no such part";
        return false;
    }
    const std::string name =
        mail::SafeFileName(item.filename, mail::MadeUpName(index, item.part, item.type));
    mail::SaveResult saved = mail::SaveIntoFolder(folder, name, bytes);
    pathOrReason = saved ? saved.path : saved.reason;
    return static_cast<bool>(saved);
}

}  // namespace ek
