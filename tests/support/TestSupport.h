// Shared helpers for the logic tests: mailboxes built from lines, temporary files,
// and a progress window double that records what it was told.
#pragma once

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/document/EKViewDoc.h"
#include "core/platform/ProgressDlg.h"

namespace ek::test {

// A message-start pair with a valid date.
inline const std::string kStart = "From - Sun Jan 02 15:04:05 2000";
inline const std::string kStatus = "X-EKMail-Status: 0001";
// A stored message: the start pair, then `mime` as given (its lines ending in LF).
inline std::string Stored(const std::string& mime) {
    return kStart + "\n" + kStatus + "\n" + mime;
}

// Joins lines, each followed by `eol`.
std::string Lines(std::initializer_list<std::string> lines, const std::string& eol = "\n");

// One message: start pair, the header lines, a blank line, the body lines.
std::string Message(std::initializer_list<std::string> header,
                    std::initializer_list<std::string> body = {});

// Reads `bytes` through the document's reader (as a file named "mem.mbx").
ReadResult ReadInto(CEKViewDoc& doc, const std::string& bytes);

// All stored lines of every message, in document order.
std::vector<std::vector<std::string>> StoredMessages(const CEKViewDoc& doc);

// A fresh temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

  private:
    std::string m_path;
};

// A file in a fresh temporary folder, removed with the folder.
class TempFile {
  public:
    explicit TempFile(const std::string& bytes, const std::string& name = "mail.mbx");
    const std::string& path() const { return m_path; }
    const std::string& dir() const { return m_dir.Path(); }

  private:
    TempDir m_dir;
    std::string m_path;
};

// The bytes of a file, empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);
std::string ReadFile(const std::string& path);  // UTF-8
// Writes `bytes` as the whole of the file.
void WriteFile(const std::string& path, const std::string& bytes);
// The names in a folder, sorted.
std::vector<std::string> FileNames(const std::filesystem::path& folder);

// A second name for `target`: a symbolic link, or on Windows, where making one needs
// a privilege, a hard link.
void LinkTo(const std::string& target, const std::filesystem::path& link);

// Records every call of the progress dialog's window and owner.
struct ProgressLog {
    std::vector<std::string> captions;
    std::vector<int> positions;
    std::vector<std::string> percentTexts;
    int pumps = 0;
    int windowsCreated = 0;
    int windowsDestroyed = 0;
    bool ownerEnabled = true;
};

class FakeProgressUi : public ProgressUi {
  public:
    explicit FakeProgressUi(ProgressLog& log) : m_log(log) {}
    bool HasOwner() const override { return true; }
    bool IsOwnerEnabled() const override { return m_log.ownerEnabled; }
    void EnableOwner(bool enable) override { m_log.ownerEnabled = enable; }
    std::unique_ptr<ProgressWindow> CreateProgressWindow(CProgressDlg& dialog) override;
    // Each call moves the clock on, so that every throttled pump runs.
    std::chrono::steady_clock::time_point Now() const override {
        m_now += std::chrono::milliseconds(10);
        return m_now;
    }

    bool failCreate = false;
    // Runs on each pump with the dialog, e.g. to press Cancel.
    std::function<void(CProgressDlg&, int pump)> onPump;

  private:
    ProgressLog& m_log;
    mutable std::chrono::steady_clock::time_point m_now{};
};

}  // namespace ek::test
