// Handing messages to other mail programs: an mboxrd file or a folder of .eml
// files, built from the stored lines byte for byte (CP932 stays CP932). Only new
// files are written; the mailbox itself is only read.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ek {

class CEKViewDoc;
class CProgressDlg;

enum class ExportFormat { Mbox, Eml };

// --- The bytes of one message ---

// "Www Mmm dd hh:mm:ss yyyy" for the mbox "From " line: the message-start line's
// date when it is a real date, else the Date header's, else the start of 1970.
std::string MboxDate(const CEKViewDoc& doc, int index);
// The same date written to the 24 characters at `out`.
void MboxDate(const CEKViewDoc& doc, int index, char* out);
// "From MAILER-DAEMON <date>", the stored lines after the message-start line with
// every line matching ^>*From quoted by one more '>', and a blank line, handed to
// `piece` in order. A piece is valid during its call; the long ones are views of
// the document's text, so a writer can pass them on without copying.
void ForEachMboxPiece(const CEKViewDoc& doc, int index,
                      const std::function<void(std::string_view)>& piece);
// Appends the pieces of ForEachMboxPiece.
void AppendMboxMessage(std::string& out, const CEKViewDoc& doc, int index);
// Appends the stored lines after the message-start line, each ended with CR LF.
void AppendEmlMessage(std::string& out, const CEKViewDoc& doc, int index);
// "NNNNN.eml": the message's number from 1, zero-padded to the width of `count`.
std::string EmlFileName(int index, int count);

// --- Writing the files ---

// One output file; the default writes to a file descriptor, tests inject failures.
class ExportFile {
  public:
    virtual ~ExportFile() = default;
    virtual bool Write(std::string_view bytes, std::string& reason) = 0;
    // Writes the pieces in order, as one call where the system allows; the default
    // writes them one by one.
    virtual bool WriteGather(std::span<const std::string_view> pieces, std::string& reason);
    // Flushes and closes; false (with the reason) when the data did not reach the disk.
    virtual bool Close(std::string& reason) = 0;
};

class ExportFileMaker {
  public:
    virtual ~ExportFileMaker() = default;
    // Creates `path`, which must not exist yet; null with the reason on failure.
    virtual std::unique_ptr<ExportFile> Create(const std::string& path, std::string& reason) = 0;
};

ExportFileMaker& StandardExportFiles();

struct ExportRequest {
    ExportFormat format = ExportFormat::Mbox;
    // The mbox file, or the folder of .eml files.
    std::string target;
    // Message indexes; empty exports every message. Written in list order, once each.
    std::vector<int> indexes;
    // Replace an existing mbox file, or write into a folder that holds files.
    bool replace = false;
};

enum class TargetState {
    Free,        // nothing there, or an empty folder for .eml files
    Exists,      // a file (mbox) or a folder with entries (.eml): replace to go on
    IsMailbox,   // the target, or a file it would replace, is the open mailbox
    WrongKind,   // a folder given for an mbox file, or a file for the .eml folder
    Unreadable,  // the target's state could not be learnt
};

// What lies at the request's target now. `reason` receives a sentence for a refusal.
TargetState CheckExportTarget(const ExportRequest& request, const std::string& mailboxPath,
                              std::string& reason);

enum class ExportStatus { Ok, Cancelled, Refused, Failed };

struct ExportResult {
    ExportStatus status = ExportStatus::Ok;
    std::string reason;  // UTF-8, for Refused and Failed
    int written = 0;     // messages in the finished export
    bool ok() const { return status == ExportStatus::Ok; }
};

// Writes the export into a temporary file or folder beside the target and moves it
// into place at the end, so that a cancelled or failed export leaves nothing behind.
// Asks CheckCancel after each message and reports SetPosition as the percentage moves.
ExportResult ExportMessages(const CEKViewDoc& doc, const ExportRequest& request,
                            CProgressDlg& progress, ExportFileMaker& files = StandardExportFiles());

}  // namespace ek
