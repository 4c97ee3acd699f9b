// What the viewer takes from the MIME layer: a message decoded for the text pane,
// decoded list fields, and a message's attachments. A build without the layer
// answers CanDecodeMessages() false and decodes nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/EKViewDoc.h"
#include "document/MailSearch.h"
#include "views/ContentFormat.h"

namespace ek {

bool CanDecodeMessages();

// The text pane's display of message `index` decoded: header (all or short), body,
// attachment note. False without such a message. `quoteMarks` is UTF-8.
bool PrepareDecodedMessage(const CEKViewDoc& doc, int index, bool allHeaders,
                           std::string_view quoteMarks, ContentDisplay& display);

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
