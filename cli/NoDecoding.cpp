// The commands' view of a build without the MIME layer.
#include <cstdio>

#include "cli/Decoding.h"
#include "cli/Mailbox.h"

namespace ek::cli {

namespace {

int Unsupported() {
    std::fputs("ekview-cli: this build cannot decode MIME\n", stderr);
    return kExitFailure;
}

}  // namespace

bool CanDecode() {
    return false;
}

std::unique_ptr<search::FieldTextProvider> MakeDecodedFieldText(const CEKViewDoc&) {
    return nullptr;
}

void DecodeListRow(const CEKViewDoc&, int, std::vector<std::string>&) {}

void DecodeShow(const CEKViewDoc&, int, bool, DecodedShow&) {}

int RunAttachments(const std::vector<std::string>&) {
    return Unsupported();
}

int RunExtract(const std::vector<std::string>&) {
    return Unsupported();
}

}  // namespace ek::cli
