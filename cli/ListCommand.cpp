#include "cli/ListCommand.h"

#include <cstdio>

#include "cli/CsvText.h"
#include "cli/Decoding.h"
#include "cli/Mailbox.h"
#include "cli/Output.h"
#include "cli/TextOut.h"
#include "core/platform/Cp932Decode.h"

namespace ek::cli {

namespace {

constexpr std::size_t kSenderColumns = 24;
// Messages in date order lie all over the text: fetch a few rows ahead.
constexpr int kPrefetchAhead = 8;

void AppendJsonRow(std::string& out, int index, const std::vector<std::string>& row, bool multipart,
                   bool decode) {
    out += "{\"index\":";
    AppendDecimal(out, index);
    AppendJsonRowFields(out, row, decode);
    out += ",\"multipart\":";
    out += multipart ? "true}\n" : "false}\n";
}

// Sender and subject are UTF-8 already when decoded.
std::string CsvRow(int index, const std::vector<std::string>& row, bool multipart,
                   const std::string& messageId, bool decode) {
    auto field = [decode](const std::string& text) { return decode ? text : cp932::ToUtf8(text); };
    return CsvRecord({std::to_string(index), cp932::ToUtf8(row[0]), field(row[1]), field(row[2]),
                      multipart ? "true" : "false", cp932::ToUtf8(messageId)});
}

enum class ListFormat { Terminal, Json, Csv };

// "[--json|--csv] [--decode] FILE"; returns the usage error, or an empty string.
std::string ParseListArgs(const std::vector<std::string>& args, ListFormat& format,
                          std::string& path, bool& decode) {
    std::vector<std::string> rest;
    format = ListFormat::Terminal;
    bool csv = false;
    for (const std::string& arg : args) {
        if (arg == "--csv") {
            csv = true;
        } else {
            rest.push_back(arg);
        }
    }
    bool json = false;
    std::string problem = ParseJsonAndFile("list", rest, json, path, decode);
    if (problem.empty() && json && csv) {
        problem = "list: give one of --json and --csv";
    }
    format = csv ? ListFormat::Csv : (json ? ListFormat::Json : ListFormat::Terminal);
    return problem;
}

}  // namespace

void AppendListRow(std::string& out, const CEKViewDoc& doc, int index, int indexWidth, bool json,
                   bool decode, std::vector<std::string>& row) {
    doc.GetListRow(index, row);
    if (decode) {
        DecodeListRow(doc, index, row);
    }
    bool multipart = doc.IsMultipart(index);
    if (json) {
        AppendJsonRow(out, index, row, multipart, decode);
    } else {
        out += TerminalRow(index, indexWidth, row, multipart, kSenderColumns, {}, decode);
    }
}

int RunList(const std::vector<std::string>& args) {
    ListFormat format = ListFormat::Terminal;
    bool decode = false;
    std::string path;
    if (std::string problem = ParseListArgs(args, format, path, decode); !problem.empty()) {
        return UsageError(problem);
    }
    if (decode && !CanDecode()) {
        return UsageError("list: this build cannot decode MIME");
    }
    CEKViewDoc doc;
    bool readError = false;
    if (!LoadMailbox(doc, path, readError)) {
        return kExitFailure;
    }
    const int count = doc.GetMessageCount();
    const int indexWidth = IndexWidth(count);
    Output out;
    if (format == ListFormat::Csv) {
        out.Write(CsvRecord({"index", "date", "sender", "subject", "multipart", "message_id"}));
    }
    std::vector<std::string> row;
    for (int i = 0; i < count; ++i) {
        doc.PrefetchHeader(i + kPrefetchAhead);
        switch (format) {
            case ListFormat::Terminal:
            case ListFormat::Json:
                AppendListRow(out.Buffer(), doc, i, indexWidth, format == ListFormat::Json, decode,
                              row);
                out.Written();
                break;
            case ListFormat::Csv: {
                doc.GetListRow(i, row);
                if (decode) {
                    DecodeListRow(doc, i, row);
                }
                bool multipart = doc.IsMultipart(i);
                out.Write(CsvRow(i, row, multipart, doc.GetHeaderValue(i, "Message-Id: "), decode));
                break;
            }
        }
    }
    if (!out.Flush()) {
        return kExitFailure;
    }
    return readError ? kExitFailure : kExitOk;
}

}  // namespace ek::cli
