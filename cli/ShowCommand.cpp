#include "cli/ShowCommand.h"

#include <charconv>
#include <cstdio>
#include <limits>
#include <optional>

#include "cli/Decoding.h"
#include "cli/Mailbox.h"
#include "cli/Output.h"
#include "cli/StyledText.h"
#include "cli/TextOut.h"
#include "core/frame/SettingsFormats.h"
#include "core/platform/ConsoleIo.h"
#include "core/platform/ProfileFile.h"
#include "core/views/RenderMessage.h"

namespace ek::cli {

namespace {

// The colour of grey text where the system cannot be asked: the classic Windows value.
constexpr settings::ColorRef kGrayText = settings::MakeColor(128, 128, 128);

enum class ColorMode { Auto, Always, Never };

struct ShowOptions {
    bool json = false;
    bool decode = false;
    bool allHeaders = true;
    std::optional<std::string> quoteMarks;  // UTF-8
    ColorMode color = ColorMode::Auto;
    std::string path;
    std::string index;
};

const char* AttrName(HighlightKind kind) {
    switch (kind) {
        case HighlightKind::Url:
            return "url";
        case HighlightKind::Mail:
            return "mail";
        case HighlightKind::Quote:
            return "quote";
        case HighlightKind::Note:
            return "note";
        case HighlightKind::Bold:
            return "bold";
    }
    return "";
}

// Returns the usage error text, or an empty string when the arguments are sound.
std::string ParseOptions(const std::vector<std::string>& args, ShowOptions& options) {
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--decode") {
            options.decode = true;
        } else if (arg == "--short-headers") {
            options.allHeaders = false;
        } else if (arg == "--all-headers") {
            options.allHeaders = true;
        } else if (arg == "--quote") {
            if (i + 1 == args.size()) {
                return "show: --quote needs the quote marks";
            }
            options.quoteMarks = args[++i];
        } else if (arg.rfind("--quote=", 0) == 0) {
            options.quoteMarks = arg.substr(8);
        } else if (arg == "--color=always" || arg == "--color") {
            options.color = ColorMode::Always;
        } else if (arg == "--color=never" || arg == "--no-color") {
            options.color = ColorMode::Never;
        } else if (arg == "--color=auto") {
            options.color = ColorMode::Auto;
        } else if (arg.size() > 1 && arg[0] == '-' &&
                   arg.find_first_not_of("0123456789", 1) != std::string::npos) {
            return "show: unknown option '" + arg + "'";
        } else {
            operands.push_back(arg);
        }
    }
    if (operands.size() != 2) {
        return "show: FILE and INDEX are needed";
    }
    options.path = operands[0];
    options.index = operands[1];
    return {};
}

// `attachments` is a JSON array, or empty for the stored view, whose lines are CP932.
std::string JsonMessage(int index, const RenderedMessage& message, const std::string& attachments) {
    const bool utf8 = !attachments.empty();
    std::string json = "{\"index\":" + std::to_string(index);
    json += message.note ? ",\"note\":true" : ",\"note\":false";
    json += ",\"lines\":[";
    const std::vector<std::string_view>& lines = message.lines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        json += i == 0 ? "" : ",";
        json += JsonField(lines[i], utf8);
    }
    const std::vector<HighlightStep> steps = message.Steps();
    json += "],\"steps\":[";
    for (std::size_t i = 0; i < steps.size(); ++i) {
        json += i == 0 ? "{" : ",{";
        json += "\"start\":" + std::to_string(steps[i].start);
        json += ",\"end\":" + std::to_string(steps[i].end);
        json += ",\"attr\":\"";
        json += AttrName(steps[i].kind);
        json += "\"}";
    }
    json += "]";
    if (utf8) {
        json += ",\"attachments\":" + attachments;
    }
    json += "}\n";
    return json;
}

}  // namespace

int RunShow(const std::vector<std::string>& args) {
    ShowOptions options;
    if (std::string problem = ParseOptions(args, options); !problem.empty()) {
        return UsageError(problem);
    }
    std::optional<long long> number = ParseIndex(options.index);
    if (!number) {
        return UsageError("show: INDEX must be a message number");
    }
    if (options.decode && !CanDecode()) {
        return UsageError("show: this build cannot decode MIME");
    }
    CEKViewDoc doc;
    bool readError = false;
    if (!LoadMailbox(doc, options.path, readError)) {
        return kExitFailure;
    }
    if (*number < 0 || *number >= doc.GetMessageCount()) {
        std::fprintf(stderr, "ekview-cli: %s: no message %s (the mailbox holds 0 to %d)\n",
                     options.path.c_str(), options.index.c_str(), doc.GetMessageCount() - 1);
        return kExitFailure;
    }
    const int index = static_cast<int>(*number);

    ProfileFile profile = ProfileFile::Load(ProfileFilePath());
    const std::string marksUtf8 =
        options.quoteMarks.value_or(settings::Read(profile, settings::kQuote));

    DecodedShow decoded;
    RenderOptions render{options.allHeaders, marksUtf8, {}};
    if (options.decode) {
        render.decode = [&decoded](const CEKViewDoc& mailbox, int message, bool allHeaders,
                                   std::vector<std::string>& lines, bool& note) {
            DecodeShow(mailbox, message, allHeaders, decoded);
            lines = std::move(decoded.lines);
            note = decoded.note;
            return true;
        };
    }
    std::optional<RenderedMessage> message = RenderMessage(doc, index, render);
    if (!message) {
        return kExitFailure;
    }

    Output out;
    if (options.json) {
        out.Write(JsonMessage(index, *message, decoded.attachmentsJson));
    } else {
        bool color = options.color == ColorMode::Always ||
                     (options.color == ColorMode::Auto && IsTerminal(stdout));
        Palette palette{settings::ReadColor(profile, settings::kHttpClr, kGrayText),
                        settings::ReadColor(profile, settings::kMailClr, kGrayText),
                        settings::ReadColor(profile, settings::kQuoteClr, kGrayText), kGrayText};
        std::string text = message->Text();
        std::vector<StyleRun> runs =
            color ? ResolveStyleRuns(message->Steps(), text.size()) : std::vector<StyleRun>();
        out.Write(StyledText(text, runs, palette, color, options.decode));
        if (!text.empty() && text.back() != '\n') {
            out.Write("\n");
        }
    }
    if (!out.Flush()) {
        return kExitFailure;
    }
    return readError ? kExitFailure : kExitOk;
}

}  // namespace ek::cli
