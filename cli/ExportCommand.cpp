#include "cli/ExportCommand.h"

#include <cstdio>
#include <optional>
#include <utility>

#include "cli/Mailbox.h"
#include "cli/Output.h"
#include "core/document/Export.h"
#include "core/platform/ProgressDlg.h"

namespace ek::cli {

namespace {

struct ExportOptions {
    ExportRequest request;
    // The --message numbers, as typed and as read (an out-of-range one saturates),
    // checked once the mailbox's count is known.
    std::vector<std::pair<std::string, long long>> messages;
    bool haveTarget = false;
    std::string path;
};

std::string ParseOptions(const std::vector<std::string>& args, ExportOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--mbox" || arg == "--eml" || arg == "--message") {
            if (i + 1 == args.size()) {
                return "export: " + arg + " needs a value";
            }
            const std::string& value = args[++i];
            if (arg == "--message") {
                const std::optional<long long> index = ParseIndex(value);
                if (!index) {
                    return "export: --message needs a message number, not '" + value + "'";
                }
                options.messages.emplace_back(value, *index);
                continue;
            }
            if (options.haveTarget) {
                return "export: give one of --mbox OUT and --eml DIR";
            }
            if (value.empty()) {
                return "export: " + arg + " needs a non-empty name";
            }
            options.haveTarget = true;
            options.request.format = arg == "--mbox" ? ExportFormat::Mbox : ExportFormat::Eml;
            options.request.target = value;
        } else if (arg == "--force") {
            options.request.replace = true;
        } else if (options.path.empty() && (arg.empty() || arg[0] != '-' || arg == "-")) {
            options.path = arg;
        } else {
            return "export: unexpected argument '" + arg + "'";
        }
    }
    if (!options.haveTarget) {
        return "export: --mbox OUT or --eml DIR is missing";
    }
    return options.path.empty() ? "export: FILE is missing" : std::string();
}

}  // namespace

int RunExport(const std::vector<std::string>& args) {
    ExportOptions options;
    if (std::string problem = ParseOptions(args, options); !problem.empty()) {
        return UsageError(problem);
    }
    CEKViewDoc doc;
    bool readError = false;
    if (!LoadMailbox(doc, options.path, readError)) {
        return kExitFailure;
    }
    if (readError) {
        // A partial mailbox exported would look like a complete one.
        std::fprintf(stderr, "ekview-cli: %s: nothing exported\n", options.path.c_str());
        return kExitFailure;
    }
    for (const auto& [typed, index] : options.messages) {
        if (index < 0 || index >= doc.GetMessageCount()) {
            std::fprintf(stderr, "ekview-cli: %s: no message %s (the mailbox holds 0 to %d)\n",
                         options.path.c_str(), typed.c_str(), doc.GetMessageCount() - 1);
            return kExitFailure;
        }
        options.request.indexes.push_back(static_cast<int>(index));
    }
    CProgressDlg progress;
    ExportResult result = ExportMessages(doc, options.request, progress);
    if (!result.ok()) {
        std::string hint;
        std::string why;
        if (result.status == ExportStatus::Refused &&
            CheckExportTarget(options.request, doc.m_strMailFile, why) == TargetState::Exists) {
            hint = " (--force replaces it)";
        }
        std::fprintf(stderr, "ekview-cli: %s%s; nothing exported\n", result.reason.c_str(),
                     hint.c_str());
        return kExitFailure;
    }
    Output out;
    out.Write(std::to_string(result.written) +
              (result.written == 1 ? " message written to " : " messages written to ") +
              options.request.target + "\n");
    return out.Flush() ? kExitOk : kExitFailure;
}

}  // namespace ek::cli
