// The mailbox document: the opened mailbox file as an ordered list of messages,
// and every question the views ask about them. Byte strings hold CP932 text
// exactly as read; nothing is decoded here.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/document/MailReader.h"
#include "core/document/MailText.h"
#include "core/document/ReadResult.h"

namespace ek {

class CProgressDlg;
class ProgressUi;

class CEKViewDoc {
  public:
    CEKViewDoc();
    ~CEKViewDoc();
    CEKViewDoc(const CEKViewDoc&) = delete;
    CEKViewDoc& operator=(const CEKViewDoc&) = delete;

    // --- Reading (the message list) ---
    // Reads m_strMailFile into the message list and orders it by date key. True (ok())
    // exactly when at least one message was read and the list was ordered.
    ReadResult ReadMailFile();
    // Whether ReadMailFile maps the file instead of copying it (off by default). A
    // mapped document shares the page cache and is quickest to read, but a program
    // that rewrites the file in place changes the text under it, so it suits a short
    // run (ekview-cli) rather than a window kept open for hours.
    void SetMappedRead(bool mapped) { m_mappedRead = mapped; }
    // The same reading over bytes in memory (the path name must be set as for a file).
    ReadResult ReadMailBytes(std::string_view bytes);
    void ClearMessages();
    int GetMessageCount() const { return static_cast<int>(m_messages.size()); }

    static bool IsMessageStart(std::string_view line);
    static bool IsStartDate(std::string_view text);
    static bool IsStatusLine(std::string_view line);

    // The stored lines of message `index` (each with its LF); empty outside the list.
    LineRange MessageLines(int index) const;
    // Whether a line after message `index`'s start line matches ^>*From (noted while
    // reading; false outside the list).
    bool HasMboxFromLines(int index) const;

    // --- Header fields and dates ---
    std::string GetHeaderValue(int index, std::string_view prefix) const;
    // The same value as a view of the stored text, valid until the messages change.
    std::string_view HeaderView(int index, std::string_view prefix) const;
    // Starts fetching the header lines that the lookups above read for message
    // `index` into the processor's cache, so that a pass over the messages in date
    // order, which jumps about the text, need not wait at every message.
    void PrefetchHeader(int index) const;
    // The same for one line: a pass that needs only it should not fill the
    // processor's few slots for pending fetches with the others.
    enum class Prefetched { StartLine, DateLine };
    void PrefetchLine(int index, Prefetched line) const;
    // Builds the date key; false when no month name was found (the key is then the
    // fallback "1970/01/01 09:00:00").
    static bool NormalizeDate(std::string_view value, std::string& key);
    static std::string GetSenderName(std::string_view from);
    // The same name into `name`, whose storage is reused.
    static void AssignSenderName(std::string_view from, std::string& name);
    // date key, sender name, subject
    bool GetListRow(int index, std::vector<std::string>& row) const;

    // --- Message body and MIME parts ---
    bool GetMessageLines(int index, std::vector<std::string>& lines, bool showAll) const;
    // The same lines as views of the stored text, valid while the document holds it.
    bool GetMessageLineViews(int index, std::vector<std::string_view>& lines, bool showAll) const;
    std::string GetBoundary(int index) const;
    // GetBoundary is not empty, without making the delimiter.
    bool IsMultipart(int index) const;

    // --- Document lifecycle ---
    // The framework's open: checks that the file opens for reading, then records it.
    ReadResult OnOpenDocument(const std::string& path);
    // Opens `path` as a program without windows does: the framework's open, then the
    // path name set to `path`, then ReadMailFile. A failed open changes nothing.
    ReadResult OpenMailFile(const std::string& path);
    bool OnNewDocument();
    // Writes nothing: the mailbox is never saved.
    bool OnSaveDocument(const std::string& path) const;
    void OnCloseDocument();

    const std::string& GetPathName() const { return m_strPathName; }
    void SetPathName(const std::string& path) { m_strPathName = path; }

    // The toolkit's progress windows; without one, long operations show none.
    void SetProgressUi(ProgressUi* ui) { m_progressUi = ui; }
    ProgressUi* GetProgressUi() const { return m_progressUi; }

    static constexpr const char* kFallbackDateKey = "1970/01/01 09:00:00";

    // Paths are local-encoding file names (UTF-8 on Linux and macOS).
    std::string m_strMailFile;
    int m_nCurrent = -1;

  private:
    using Reading = std::function<ReadResult(CProgressDlg& progress, MailboxText& mailbox)>;
    // Empties the list, reads under the progress dialog, keeps what was read and orders it.
    ReadResult ReadWith(const Reading& read);
    void SortByDateKey(CProgressDlg& progress);
    // The boundary parameter's value (between its first and last double quote).
    bool FindBoundary(int index, std::string_view& value) const;

    std::string m_strPathName;
    // The mailbox text, every message line followed by one LF.
    StoredText m_text;
    std::size_t m_textSize = 0;
    // The message list, in date-key order after a successful read.
    std::vector<MessageSpan> m_messages;
    ProgressUi* m_progressUi = nullptr;
    bool m_mappedRead = false;
};

}  // namespace ek
