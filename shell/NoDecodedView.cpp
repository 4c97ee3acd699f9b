// The viewer's view of a build without the MIME layer: nothing decodes.
#include "shell/DecodedView.h"

namespace ek {

bool CanDecodeMessages() {
    return false;
}

bool GetDecodedLines(const CEKViewDoc&, int, bool, std::vector<std::string>&, bool&) {
    return false;
}

std::unique_ptr<search::FieldTextProvider> MakeDecodedFieldText(const CEKViewDoc&) {
    return nullptr;
}

void DecodeListFields(const CEKViewDoc&, int, std::vector<std::string>&) {}

std::vector<AttachmentItem> ListAttachments(const CEKViewDoc&, int) {
    return {};
}

bool SaveAttachment(const CEKViewDoc&, int, const AttachmentItem&, const std::string&,
                    std::string& pathOrReason) {
    pathOrReason = "this build cannot decode MIME";
    return false;
}

}  // namespace ek
