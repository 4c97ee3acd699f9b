// What the commands take from the MIME layer, so that they build without it: a build
// without the layer answers CanDecode() false and decodes nothing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/document/EKViewDoc.h"
#include "core/document/MailSearch.h"

namespace ek::cli {

bool CanDecode();

// The decoded text of the messages' fields for a search; null without the layer.
std::unique_ptr<search::FieldTextProvider> MakeDecodedFieldText(const CEKViewDoc& doc);

// Replaces the sender [1] and subject [2] of a list row with their decoded UTF-8.
void DecodeListRow(const CEKViewDoc& doc, int index, std::vector<std::string>& row);

struct DecodedShow {
    std::vector<std::string> lines;  // UTF-8 display lines
    bool note = false;
    std::string attachmentsJson;  // a JSON array of the attachments
};
void DecodeShow(const CEKViewDoc& doc, int index, bool allHeaders, DecodedShow& show);

// ekview-cli attachments [--json] FILE INDEX
int RunAttachments(const std::vector<std::string>& args);
// ekview-cli extract FILE INDEX [--part N]... --to DIR
int RunExtract(const std::vector<std::string>& args);

}  // namespace ek::cli
