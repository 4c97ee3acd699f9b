#include "cli/ThreadsCommand.h"

#include "cli/Decoding.h"
#include "cli/Mailbox.h"
#include "cli/Output.h"
#include "cli/TextOut.h"
#include "core/views/ThreadLink.h"

namespace ek::cli {

namespace {

constexpr std::size_t kSenderColumns = 20;
// The rows' headers lie all over the text: fetch a few rows ahead.
constexpr std::size_t kPrefetchAhead = 8;

void AppendJsonRow(std::string& out, int row, const ThreadRow& entry,
                   const std::vector<std::string>& fields, bool decode) {
    out += "{\"row\":";
    AppendDecimal(out, row);
    out += ",\"index\":";
    AppendDecimal(out, entry.index);
    out += ",\"depth\":";
    AppendDecimal(out, entry.depth);
    out += entry.hasParts ? ",\"multipart\":true" : ",\"multipart\":false";
    AppendJsonRowFields(out, fields, decode);
    out += "}\n";
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
        if (row + kPrefetchAhead < order.size()) {
            doc.PrefetchHeader(order[row + kPrefetchAhead].index);
        }
        doc.GetListRow(order[row].index, fields);
        if (decode) {
            DecodeListRow(doc, order[row].index, fields);
        }
        if (json) {
            AppendJsonRow(out.Buffer(), static_cast<int>(row), order[row], fields, decode);
            out.Written();
        } else {
            out.Write(TerminalRow(order[row].index, indexWidth, fields, order[row].hasParts != 0,
                                  kSenderColumns, ThreadPrefix(order[row].depth), decode));
        }
    }
    if (!out.Flush()) {
        return kExitFailure;
    }
    return readError ? kExitFailure : kExitOk;
}

}  // namespace ek::cli
