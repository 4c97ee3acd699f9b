// The commands' use of the MIME layer: decoded rows and messages, and the attachment
// commands.
#include "cli/Decoding.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/Mailbox.h"
#include "cli/Output.h"
#include "cli/TextOut.h"
#include "core/mail/DecodedLines.h"
#include "core/mail/DecodedSearchText.h"
#include "core/mail/HeaderDecode.h"
#include "core/mail/MimeMessage.h"
#include "core/mail/PartNames.h"
#include "core/mail/SaveAttachment.h"

namespace ek::cli {

namespace {

std::string AttachmentJson(const mail::Attachment& attachment) {
    return "{\"part\":" + std::to_string(attachment.part) +
           ",\"filename\":" + JsonUtf8String(attachment.filename) +
           ",\"type\":" + JsonUtf8String(attachment.type) +
           ",\"size\":" + std::to_string(attachment.size) + "}";
}

struct MessageArgs {
    std::string path;
    std::string index;
    bool json = false;
    std::vector<std::string> parts;
    std::string folder;
};

// Reads FILE INDEX and the options of `command`; returns the usage error or "".
std::string ParseMessageArgs(const std::string& command, const std::vector<std::string>& args,
                             bool extract, MessageArgs& parsed) {
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!extract && arg == "--json") {
            parsed.json = true;
        } else if (extract && (arg == "--part" || arg == "--to")) {
            if (i + 1 == args.size()) {
                return command + ": " + arg + " needs a value";
            }
            (arg == "--part" ? parsed.parts.emplace_back() : parsed.folder) = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-' &&
                   arg.find_first_not_of("0123456789", 1) != std::string::npos) {
            return command + ": unknown option '" + arg + "'";
        } else {
            operands.push_back(arg);
        }
    }
    if (operands.size() != 2) {
        return command + ": FILE and INDEX are needed";
    }
    if (extract && parsed.folder.empty()) {
        return command + ": --to DIR is needed";
    }
    parsed.path = operands[0];
    parsed.index = operands[1];
    return {};
}

// Loads the mailbox and finds the message; -1 after printing why not.
int LoadMessage(CEKViewDoc& doc, const MessageArgs& args, bool& readError) {
    if (!LoadMailbox(doc, args.path, readError)) {
        return -1;
    }
    std::optional<long long> number = ParseIndex(args.index);
    if (!number || *number < 0 || *number >= doc.GetMessageCount()) {
        std::fprintf(stderr, "ekview-cli: %s: no message %s (the mailbox holds 0 to %d)\n",
                     args.path.c_str(), args.index.c_str(), doc.GetMessageCount() - 1);
        return -1;
    }
    return static_cast<int>(*number);
}

}  // namespace

bool CanDecode() {
    return true;
}

std::unique_ptr<search::FieldTextProvider> MakeDecodedFieldText(const CEKViewDoc& doc) {
    return std::make_unique<mail::DecodedFieldText>(doc);
}

void DecodeListRow(const CEKViewDoc& doc, int index, std::vector<std::string>& row) {
    mail::ListFields fields = mail::DecodeListFields(doc.MessageLines(index).text());
    row[1] = std::move(fields.sender);
    row[2] = std::move(fields.subject);
}

void DecodeShow(const CEKViewDoc& doc, int index, bool allHeaders, DecodedShow& show) {
    mail::DecodedMessage message = mail::DecodeMessage(doc.MessageLines(index).text(), index);
    mail::DecodedLines lines = mail::BuildDecodedLines(message, allHeaders);
    show.lines = std::move(lines.lines);
    show.note = lines.note;
    std::string json = "[";
    for (const mail::Attachment& attachment : message.attachments) {
        if (json.size() > 1) {
            json += ',';
        }
        json += AttachmentJson(attachment);
    }
    json += ']';
    show.attachmentsJson = std::move(json);
}

int RunAttachments(const std::vector<std::string>& args) {
    MessageArgs parsed;
    if (std::string problem = ParseMessageArgs("attachments", args, false, parsed);
        !problem.empty()) {
        return UsageError(problem);
    }
    CEKViewDoc doc;
    bool readError = false;
    const int index = LoadMessage(doc, parsed, readError);
    if (index < 0) {
        return kExitFailure;
    }
    mail::DecodedMessage message = mail::DecodeMessage(doc.MessageLines(index).text(), index);
    Output out;
    for (const mail::Attachment& attachment : message.attachments) {
        out.Write(parsed.json ? AttachmentJson(attachment) + "\n"
                              : std::to_string(attachment.part) + "  " + attachment.type + "  " +
                                    std::to_string(attachment.size) + "  " +
                                    TerminalUtf8Text(attachment.filename) + "\n");
    }
    if (!out.Flush()) {
        return kExitFailure;
    }
    return readError ? kExitFailure : kExitOk;
}

int RunExtract(const std::vector<std::string>& args) {
    MessageArgs parsed;
    if (std::string problem = ParseMessageArgs("extract", args, true, parsed); !problem.empty()) {
        return UsageError(problem);
    }
    std::error_code error;
    if (!std::filesystem::is_directory(parsed.folder, error)) {
        std::fprintf(stderr, "ekview-cli: %s: not a folder\n", parsed.folder.c_str());
        return kExitFailure;
    }
    CEKViewDoc doc;
    bool readError = false;
    const int index = LoadMessage(doc, parsed, readError);
    if (index < 0) {
        return kExitFailure;
    }
    const std::string_view text = doc.MessageLines(index).text();
    mail::DecodedMessage message = mail::DecodeMessage(text, index);
    std::vector<const mail::Attachment*> chosen;
    for (const std::string& part : parsed.parts) {
        std::optional<long long> number = ParseIndex(part);
        const mail::Attachment* found = nullptr;
        for (const mail::Attachment& attachment : message.attachments) {
            found = number && attachment.part == *number ? &attachment : found;
        }
        if (found == nullptr) {
            std::fprintf(stderr, "ekview-cli: message %d has no attachment part %s\n", index,
                         part.c_str());
            return kExitFailure;
        }
        chosen.push_back(found);
    }
    if (parsed.parts.empty()) {
        for (const mail::Attachment& attachment : message.attachments) {
            chosen.push_back(&attachment);
        }
    }
    Output out;
    for (const mail::Attachment* attachment : chosen) {
        std::string bytes;
        mail::ReadPartBytes(text, attachment->part, bytes);
        const std::string fallback = mail::MadeUpName(index, attachment->part, attachment->type);
        mail::SaveResult saved = mail::SaveIntoFolder(
            parsed.folder, mail::SafeFileName(attachment->filename, fallback), bytes);
        if (!saved) {
            out.Flush();
            std::fprintf(stderr, "ekview-cli: %s\n", saved.reason.c_str());
            return kExitFailure;
        }
        out.Write(TerminalUtf8Text(saved.path) + "\n");
    }
    if (!out.Flush()) {
        return kExitFailure;
    }
    return readError ? kExitFailure : kExitOk;
}

}  // namespace ek::cli
