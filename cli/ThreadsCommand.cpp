#include "cli/ThreadsCommand.h"

#include "cli/Decoding.h"
#include "cli/Mailbox.h"
#include "cli/Output.h"
#include "cli/TextOut.h"
#include "views/ThreadLink.h"

namespace ek::cli {

namespace {

constexpr std::size_t kSenderColumns = 20;

std::string JsonRow(int row, const ThreadRow& entry, const std::vector<std::string>& fields,
                    bool decode) {
    std::string line = "{\"row\":" + std::to_string(row);
    line += ",\"index\":" + std::to_string(entry.index);
    line += ",\"depth\":" + std::to_string(entry.depth);
    line += entry.hasParts ? ",\"multipart\":true" : ",\"multipart\":false";
    line += ",\"date\":" + JsonString(fields[0]);
    line += ",\"sender\":" + JsonField(fields[1], decode);
    line += ",\"subject\":" + JsonField(fields[2], decode);
    line += "}\n";
    return line;
}

}  // namespace

int RunThreads(const std::vector<std::string>& args) {
    bool json = false;
    bool decode = false;
    std::string path;
    if (std::string problem = ParseJsonAndFile("threads", args, json, path, decode);
        !problem.empty()) {
        return UsageError(problem);
    }
    if (decode && !CanDecode()) {
        return UsageError("threads: this build cannot decode MIME");
    }
    CEKViewDoc doc;
    bool readError = false;
    if (!LoadMailbox(doc, path, readError)) {
        return kExitFailure;
    }
    const int count = doc.GetMessageCount();
    const int indexWidth = IndexWidth(count);
    std::vector<ThreadRow> order = BuildThreadOrder(doc, nullptr);
    Output out;
    std::vector<std::string> fields;
    for (std::size_t row = 0; row < order.size(); ++row) {
        doc.GetListRow(order[row].index, fields);
        if (decode) {
            DecodeListRow(doc, order[row].index, fields);
        }
        out.Write(json ? JsonRow(static_cast<int>(row), order[row], fields, decode)
                       : TerminalRow(order[row].index, indexWidth, fields, order[row].hasParts != 0,
                                     kSenderColumns, ThreadPrefix(order[row].depth), decode));
    }
    if (!out.Flush()) {
        return kExitFailure;
    }
    return readError ? kExitFailure : kExitOk;
}

}  // namespace ek::cli
