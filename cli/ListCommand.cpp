#include "cli/ListCommand.h"

#include <cstdio>

#include "cli/Mailbox.h"
#include "cli/Output.h"
#include "cli/TextOut.h"

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

}  // namespace

std::string ListRowText(const CEKViewDoc& doc, int index, int indexWidth, bool json) {
    std::vector<std::string> row;
    doc.GetListRow(index, row);
    bool multipart = !doc.GetBoundary(index).empty();
    return json ? JsonRow(index, row, multipart)
                : TerminalRow(index, indexWidth, row, multipart, kSenderColumns);
}

int RunList(const std::vector<std::string>& args) {
    bool json = false;
    std::string path;
    if (std::string problem = ParseJsonAndFile("list", args, json, path); !problem.empty()) {
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
    for (int i = 0; i < count; ++i) {
        out.Write(ListRowText(doc, i, indexWidth, json));
    }
    if (!out.Flush()) {
        return kExitFailure;
    }
    return readError ? kExitFailure : kExitOk;
}

}  // namespace ek::cli
