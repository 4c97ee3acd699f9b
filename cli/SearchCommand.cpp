#include "cli/SearchCommand.h"

#include <cstdio>
#include <memory>
#include <optional>

#include "cli/Decoding.h"
#include "cli/ListCommand.h"
#include "cli/Mailbox.h"
#include "cli/Output.h"
#include "cli/TextOut.h"
#include "core/document/MailSearch.h"

namespace ek::cli {

namespace {

struct SearchOptions {
    bool json = false;
    bool decode = false;
    search::SearchField field = search::SearchField::All;
    std::vector<std::string> operands;  // QUERY FILE
};

std::optional<search::SearchField> FieldNamed(const std::string& name) {
    using search::SearchField;
    if (name == "all") {
        return SearchField::All;
    }
    if (name == "subject") {
        return SearchField::Subject;
    }
    if (name == "sender") {
        return SearchField::Sender;
    }
    if (name == "to") {
        return SearchField::Recipients;
    }
    if (name == "header") {
        return SearchField::Header;
    }
    if (name == "body") {
        return SearchField::Body;
    }
    return std::nullopt;
}

// Returns the usage error, or an empty string when the arguments are sound.
std::string ParseOptions(const std::vector<std::string>& args, SearchOptions& options) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            options.operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--decode") {
            options.decode = true;
        } else if (arg == "--in" || arg.rfind("--in=", 0) == 0) {
            std::string name;
            if (arg == "--in") {
                if (i + 1 == args.size()) {
                    return "search: --in needs a field";
                }
                name = args[++i];
            } else {
                name = arg.substr(5);
            }
            std::optional<search::SearchField> field = FieldNamed(name);
            if (!field) {
                return "search: unknown field '" + name +
                       "' (subject, sender, to, header, body or all)";
            }
            options.field = *field;
        } else {
            return "search: unknown option '" + arg + "'";
        }
    }
    if (options.operands.size() < 2) {
        return options.operands.empty() ? "search: QUERY and FILE are missing"
                                        : "search: FILE is missing";
    }
    if (options.operands.size() > 2) {
        return "search: unexpected argument '" + options.operands[2] + "'";
    }
    return {};
}

}  // namespace

int RunSearch(const std::vector<std::string>& args) {
    SearchOptions options;
    if (std::string problem = ParseOptions(args, options); !problem.empty()) {
        return UsageError(problem);
    }
    const std::string& queryText = options.operands[0];
    const std::string& path = options.operands[1];
    if (options.decode && !CanDecode()) {
        return UsageError("search: this build cannot decode MIME");
    }
    // Decoded text is matched as UTF-8, so any character can be looked for.
    search::SearchQuery query = search::CompileQuery(
        queryText, options.decode ? search::TextEncoding::Utf8 : search::TextEncoding::Cp932);
    switch (query.status) {
        case search::QueryStatus::Ok:
            break;
        case search::QueryStatus::Empty:
            return UsageError("search: the query is empty (blanks and quotes alone find nothing)");
        case search::QueryStatus::NotUtf8:
            return UsageError("search: the query is not valid UTF-8");
        case search::QueryStatus::Unspellable:
            std::fprintf(stderr,
                         "ekview-cli: search: the query holds characters that Shift-JIS cannot "
                         "write, so no stored line can hold it\n");
            return kExitFailure;
    }
    CEKViewDoc doc;
    bool readError = false;
    if (!LoadMailbox(doc, path, readError)) {
        return kExitFailure;
    }
    search::RawFieldText raw(doc);
    std::unique_ptr<search::FieldTextProvider> decoded;
    if (options.decode) {
        decoded = MakeDecodedFieldText(doc);
    }
    search::FieldTextProvider& text = decoded ? *decoded : raw;
    search::MailSearch mailSearch(std::move(query), options.field, text, 0, doc.GetMessageCount());
    while (mailSearch.RunSlice(SIZE_MAX)) {
    }
    const int indexWidth = IndexWidth(doc.GetMessageCount());
    Output out;
    std::vector<std::string> row;
    for (int index : mailSearch.Results()) {
        AppendListRow(out.Buffer(), doc, index, indexWidth, options.json, options.decode, row);
        out.Written();
    }
    if (!out.Flush() || readError) {
        return kExitFailure;
    }
    return mailSearch.Results().empty() ? kExitFailure : kExitOk;
}

}  // namespace ek::cli
