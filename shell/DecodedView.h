// What the viewer takes from the MIME layer: a message decoded for the text pane,
// decoded list fields, and a message's attachments. A build without the layer
// answers CanDecodeMessages() false and decodes nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/document/EKViewDoc.h"
#include "core/document/MailSearch.h"

namespace ek {

bool CanDecodeMessages();

// The display lines of message `index` decoded (UTF-8): header (all or short), body,
// and `note` true when the attachment note ends them. False without such a message.
bool GetDecodedLines(const CEKViewDoc& doc, int index, bool allHeaders,
                     std::vector<std::string>& lines, bool& note);

// The messages' fields as the decoded view shows them, for the search; null without
// the layer.
std::unique_ptr<search::FieldTextProvider> MakeDecodedFieldText(const CEKViewDoc& doc);

// Replaces the sender [1] and subject [2] of a GetListRow row with decoded UTF-8.
void DecodeListFields(const CEKViewDoc& doc, int index, std::vector<std::string>& fields);

struct AttachmentItem {
    int part = 0;
    std::string filename;  // UTF-8, as the message names it (or made up)
    std::string type;
    std::uint64_t size = 0;
};
std::vector<AttachmentItem> ListAttachments(const CEKViewDoc& doc, int index);

// Writes attachment `part` of message `index` into `folder` under its safe name, never
// over a file. True with `pathOrReason` the path written, else the reason.
bool SaveAttachment(const CEKViewDoc& doc, int index, const AttachmentItem& item,
                    const std::string& folder, std::string& pathOrReason);

}  // namespace ek
