#include "cli/ListCommand.h"

#include <cstdio>

#include "cli/Decoding.h"
#include "cli/Mailbox.h"
#include "cli/Output.h"
#include "cli/TextOut.h"

namespace ek::cli {

namespace {

constexpr std::size_t kSenderColumns = 24;

std::string JsonRow(int index, const std::vector<std::string>& row, bool multipart, bool decode) {
    std::string line = "{\"index\":" + std::to_string(index);
    line += ",\"date\":" + JsonString(row[0]);
    line += ",\"sender\":" + JsonField(row[1], decode);
    line += ",\"subject\":" + JsonField(row[2], decode);
    line += ",\"multipart\":";
    line += multipart ? "true}\n" : "false}\n";
    return line;
}

}  // namespace

int RunList(const std::vector<std::string>& args) {
    bool json = false;
    bool decode = false;
    std::string path;
    if (std::string problem = ParseJsonAndFile("list", args, json, path, decode);
        !problem.empty()) {
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
    std::vector<std::string> row;
    for (int i = 0; i < count; ++i) {
        doc.GetListRow(i, row);
        if (decode) {
            DecodeListRow(doc, i, row);
        }
        bool multipart = !doc.GetBoundary(i).empty();
        out.Write(json ? JsonRow(i, row, multipart, decode)
                       : TerminalRow(i, indexWidth, row, multipart, kSenderColumns, {}, decode));
    }
    if (!out.Flush()) {
        return kExitFailure;
    }
    return readError ? kExitFailure : kExitOk;
}

}  // namespace ek::cli
