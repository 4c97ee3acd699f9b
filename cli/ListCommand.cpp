#include "cli/ListCommand.h"

#include <cstdio>

#include "cli/CsvText.h"
#include "cli/Mailbox.h"
#include "cli/Output.h"
#include "cli/TextOut.h"
#include "platform/Cp932Decode.h"

namespace ek::cli {

namespace {

constexpr std::size_t kSenderColumns = 24;

std::string JsonRow(int index, const std::vector<std::string>& row, bool multipart) {
    std::string line = "{\"index\":" + std::to_string(index);
    line += ",\"date\":" + JsonString(row[0]);
    line += ",\"sender\":" + JsonString(row[1]);
    line += ",\"subject\":" + JsonString(row[2]);
    line += ",\"multipart\":";
    line += multipart ? "true}\n" : "false}\n";
    return line;
}

std::string CsvRow(int index, const std::vector<std::string>& row, bool multipart,
                   const std::string& messageId) {
    return CsvRecord({std::to_string(index), cp932::ToUtf8(row[0]), cp932::ToUtf8(row[1]),
                      cp932::ToUtf8(row[2]), multipart ? "true" : "false",
                      cp932::ToUtf8(messageId)});
}

enum class ListFormat { Terminal, Json, Csv };

// "[--json|--csv] FILE"; returns the usage error, or an empty string.
std::string ParseListArgs(const std::vector<std::string>& args, ListFormat& format,
                          std::string& path) {
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
    std::string problem = ParseJsonAndFile("list", rest, json, path);
    if (problem.empty() && json && csv) {
        problem = "list: give one of --json and --csv";
    }
    format = csv ? ListFormat::Csv : (json ? ListFormat::Json : ListFormat::Terminal);
    return problem;
}

}  // namespace

std::string ListRowText(const CEKViewDoc& doc, int index, int indexWidth, bool json) {
    std::vector<std::string> row;
    doc.GetListRow(index, row);
    bool multipart = !doc.GetBoundary(index).empty();
    return json ? JsonRow(index, row, multipart)
                : TerminalRow(index, indexWidth, row, multipart, kSenderColumns);
}

int RunList(const std::vector<std::string>& args) {
    ListFormat format = ListFormat::Terminal;
    std::string path;
    if (std::string problem = ParseListArgs(args, format, path); !problem.empty()) {
        return UsageError(problem);
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
        switch (format) {
            case ListFormat::Terminal:
                out.Write(ListRowText(doc, i, indexWidth, false));
                break;
            case ListFormat::Json:
                out.Write(ListRowText(doc, i, indexWidth, true));
                break;
            case ListFormat::Csv: {
                doc.GetListRow(i, row);
                bool multipart = !doc.GetBoundary(i).empty();
                out.Write(CsvRow(i, row, multipart, doc.GetHeaderValue(i, "Message-Id: ")));
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
