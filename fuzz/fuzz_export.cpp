// Export bytes on arbitrary mailboxes: every mboxrd message, read back the way an
// mbox reader does (split at "From " lines, one quote mark taken off), gives the
// stored lines after the message-start line; every .eml form is those lines with
// CR LF; the "From " line's date always has its fixed layout.
#include <regex>

#include "core/document/EKViewDoc.h"
#include "core/document/Export.h"
#include "fuzz/FuzzSupport.h"

#define CHECK(condition)                                    \
    do {                                                    \
        if (!(condition)) {                                 \
            ek::fuzz::Fail(__FILE__, __LINE__, #condition); \
        }                                                   \
    } while (false)

namespace {

bool IsDateLayout(const std::string& date) {
    static const std::regex layout(
        "(Sun|Mon|Tue|Wed|Thu|Fri|Sat) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
        "[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9] [0-9]{4}");
    return std::regex_match(date, layout);
}

std::string Unquoted(const std::string& line) {
    std::size_t marks = line.find_first_not_of('>');
    if (marks != std::string::npos && marks > 0 && line.compare(marks, 5, "From ") == 0) {
        return line.substr(1);
    }
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ek::CEKViewDoc doc;
    doc.SetPathName("fuzz.mbx");
    if (!doc.ReadMailBytes(ek::fuzz::AsText(data, size))) {
        return 0;
    }
    std::string mbox;
    for (int i = 0; i < doc.GetMessageCount(); ++i) {
        ek::AppendMboxMessage(mbox, doc, i);
    }
    // Read the mbox back as a reader of mboxrd does.
    std::vector<std::string> lines = ek::fuzz::SplitAfterLf(mbox);
    std::size_t at = 0;
    for (int i = 0; i < doc.GetMessageCount(); ++i) {
        CHECK(at < lines.size() && lines[at].rfind("From MAILER-DAEMON ", 0) == 0);
        std::string date = lines[at].substr(19);
        CHECK(!date.empty() && date.back() == '\n');
        date.pop_back();
        CHECK(IsDateLayout(date));
        ++at;
        std::string body;
        while (at < lines.size() && lines[at].rfind("From ", 0) != 0) {
            body += Unquoted(lines[at++]);
        }
        // The blank line that ends each message is the separator's, not the message's.
        CHECK(body.size() >= 1 && body.back() == '\n');
        body.pop_back();
        std::string_view stored = doc.MessageLines(i).text();
        std::string_view afterStart = stored.substr(stored.find('\n') + 1);
        CHECK(body == afterStart);

        std::string eml;
        ek::AppendEmlMessage(eml, doc, i);
        std::string expected;
        for (const std::string& line : ek::fuzz::SplitAfterLf(afterStart)) {
            expected += line.substr(0, line.size() - 1) + "\r\n";
        }
        CHECK(eml == expected);
    }
    CHECK(at == lines.size());
    return 0;
}
