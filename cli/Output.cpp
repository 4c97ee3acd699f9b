#include "cli/Output.h"

#include "cli/Mailbox.h"

namespace ek::cli {

bool Output::Flush() {
    if (!m_buffer.empty() && !m_failed) {
        if (std::fwrite(m_buffer.data(), 1, m_buffer.size(), stdout) != m_buffer.size()) {
            m_failed = true;
        }
    }
    m_buffer.clear();
    if (!m_failed && std::fflush(stdout) != 0) {
        m_failed = true;
    }
    return !m_failed;
}

void PrintUsage(std::FILE* stream) {
    std::fputs(
        "Usage: ekview-cli COMMAND [OPTIONS] FILE [INDEX]\n"
        "\n"
        "Reads an EK-Mail mailbox file (Shift-JIS) without ever writing it.\n"
        "\n"
        "Commands:\n"
        "  list [--json|--csv] FILE\n"
        "                       one row per message, oldest first: index, date,\n"
        "                       '+' for a message with attachments, sender, subject;\n"
        "                       --json prints one JSON object per line, --csv a CSV\n"
        "                       table in UTF-8 (with the Message-Id) for spreadsheets\n"
        "  threads [--json] FILE\n"
        "                       the messages in reply-thread order, replies indented\n"
        "                       below the message they answer\n"
        "  show [OPTIONS] FILE INDEX\n"
        "                       message INDEX (as 'list' numbers it) as the viewer\n"
        "                       shows it: header, first part, attachment note\n"
        "  export --mbox OUT FILE | export --eml DIR FILE\n"
        "                       writes the messages as an mboxrd file OUT, or as\n"
        "                       DIR/1.eml ... (numbers as wide as the count) for\n"
        "                       other mail programs, bytes unchanged; --message\n"
        "                       INDEX (repeatable) exports only those, --force\n"
        "                       replaces OUT or writes into a non-empty DIR\n"
        "  search [--json] [--decode] [--in FIELD] QUERY FILE\n"
        "                       the rows of the messages that hold every word of\n"
        "                       QUERY, as 'list' prints them; \"two words\" in double\n"
        "                       quotes are one phrase; ASCII letters match either case\n"
        "  attachments [--json] FILE INDEX\n"
        "                       the attachments of message INDEX: part number,\n"
        "                       type, decoded size and file name\n"
        "  extract FILE INDEX [--part N]... --to DIR\n"
        "                       writes the attachments (all, or the parts named)\n"
        "                       into the existing folder DIR under safe names,\n"
        "                       never over a file; prints each path written\n"
        "\n"
        "Options of search:\n"
        "  --in FIELD           subject, sender (From), to (To and Cc), header, body\n"
        "                       or all (the default)\n"
        "  --decode             searches the decoded text (the text 'show --decode'\n"
        "                       prints: the body shown, not the attachments) and\n"
        "                       prints the rows as 'list --decode'\n"
        "\n"
        "Options of show:\n"
        "  --all-headers        every header line (the default)\n"
        "  --short-headers      only the Date, From, Subject and To lines\n"
        "  --quote MARKS        quote marks separated by spaces (default: the viewer's)\n"
        "  --color=WHEN         colours: auto (on a terminal), always or never\n"
        "  --json               one JSON object: lines and highlighting steps\n"
        "  --decode             (also for list and threads) as a mail client shows it:\n"
        "                       encoded words, transfer encodings and charsets\n"
        "                       decoded, the text part shown; JSON adds attachments\n"
        "\n"
        "Options:\n"
        "  --help               show this text\n"
        "  --version            show the version\n"
        "\n"
        "Exit status: 0 on success, 1 when the file cannot be read or holds no\n"
        "message (search: or no message matches) or an export target is refused\n"
        "or cannot be written, 2 on a usage error.\n",
        stream);
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "ekview-cli: %s\n\n", message.c_str());
    PrintUsage(stderr);
    return kExitUsage;
}

}  // namespace ek::cli
