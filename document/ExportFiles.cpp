// Writing an export: the target checked, the files written into a temporary file
// or folder beside it, and moved into place only when everything was written.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <new>
#include <random>
#include <system_error>
#include <utility>

#include "document/EKViewDoc.h"
#include "document/Export.h"
#include "frame/ProgressDlg.h"

namespace ek {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kFlushSize = std::size_t{1} << 20;
constexpr int kTempNameTries = 16;

class StdioExportFile : public ExportFile {
  public:
    explicit StdioExportFile(std::FILE* file) : m_file(file) {}
    ~StdioExportFile() override {
        if (m_file != nullptr) {
            std::fclose(m_file);
        }
    }
    bool Write(std::string_view bytes, std::string& reason) override {
        if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) {
            reason = std::generic_category().message(errno);
            return false;
        }
        return true;
    }
    bool Close(std::string& reason) override {
        std::FILE* file = std::exchange(m_file, nullptr);
        if (std::fclose(file) != 0) {
            reason = std::generic_category().message(errno);
            return false;
        }
        return true;
    }

  private:
    std::FILE* m_file;
};

class StdioExportFiles : public ExportFileMaker {
  public:
    std::unique_ptr<ExportFile> Create(const std::string& path, std::string& reason) override {
        // "x": never open a file that already exists (another export's, or a link).
        std::FILE* file = std::fopen(path.c_str(), "wbx");
        if (file == nullptr) {
            reason = std::generic_category().message(errno);
            return nullptr;
        }
        // Our own blocks are large; unbuffered writes report a full disk at once.
        std::setvbuf(file, nullptr, _IONBF, 0);
        return std::make_unique<StdioExportFile>(file);
    }
};

// The target without a trailing separator, so that it has a file name and a folder.
fs::path TargetPath(const std::string& target) {
    fs::path path(target);
    if (!path.has_filename() && path.has_parent_path()) {
        path = path.parent_path();
    }
    return path;
}

fs::path Folder(const fs::path& target) {
    fs::path parent = target.parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

std::string TempName(const fs::path& target) {
    static std::minstd_rand random{std::random_device{}()};
    std::string name = ".";
    name += target.filename().string();
    name += ".ekview-";
    name += std::to_string(random() % 1000000);
    name += ".tmp";
    return name;
}

bool SameFile(const fs::path& a, const std::string& b) {
    std::error_code error;
    return !b.empty() && fs::equivalent(a, fs::path(b), error);
}

// The messages to write, in list order, once each; false when one is not in the list.
bool ChosenIndexes(const CEKViewDoc& doc, const std::vector<int>& wanted, std::vector<int>& out) {
    out.clear();
    const int count = doc.GetMessageCount();
    if (wanted.empty()) {
        for (int i = 0; i < count; ++i) {
            out.push_back(i);
        }
        return true;
    }
    out = wanted;
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out.front() >= 0 && out.back() < count;
}

// Output collected in large blocks and written to one file.
class BlockWriter {
  public:
    explicit BlockWriter(ExportFile& file) : m_file(file) { m_block.reserve(kFlushSize * 2); }
    std::string& Block() { return m_block; }
    bool FlushIfFull(std::string& reason) { return m_block.size() < kFlushSize || Flush(reason); }
    bool Flush(std::string& reason) {
        bool ok = m_block.empty() || m_file.Write(m_block, reason);
        m_block.clear();
        return ok;
    }

  private:
    ExportFile& m_file;
    std::string m_block;
};

class Exporter {
  public:
    Exporter(const CEKViewDoc& doc, const ExportRequest& request, CProgressDlg& progress,
             ExportFileMaker& files, std::vector<int> indexes)
        : m_doc(doc),
          m_request(request),
          m_progress(progress),
          m_files(files),
          m_indexes(std::move(indexes)),
          m_target(TargetPath(request.target)) {}

    ExportResult Run() {
        ExportResult result;
        // A block that does not fit in memory fails the export, not the program.
        try {
            result = m_request.format == ExportFormat::Mbox ? WriteMbox() : WriteEml();
        } catch (const std::bad_alloc&) {
            result = Failed("cannot write the export", std::generic_category().message(ENOMEM));
        }
        m_tempFile.reset();
        if (!result.ok()) {
            std::error_code ignored;
            fs::remove_all(m_temp, ignored);
        }
        return result;
    }

  private:
    ExportResult Failed(const std::string& what, const std::string& reason) const {
        return {ExportStatus::Failed, what + ": " + reason, 0};
    }

    // SetPosition and CheckCancel after message `done` of the whole.
    bool Cancelled(std::size_t done) {
        m_progress.SetPosition(static_cast<int>(done * 100 / m_indexes.size()));
        return m_progress.CheckCancel();
    }

    bool MakeTemp(bool folder, std::string& reason) {
        for (int attempt = 0; attempt < kTempNameTries; ++attempt) {
            m_temp = Folder(m_target) / TempName(m_target);
            if (!folder) {
                m_tempFile = m_files.Create(m_temp.string(), reason);
                if (m_tempFile != nullptr) {
                    return true;
                }
                if (fs::exists(m_temp)) {
                    continue;
                }
                m_temp.clear();
                return false;
            }
            std::error_code error;
            if (fs::create_directory(m_temp, error)) {
                return true;
            }
            if (error) {
                reason = error.message();
                m_temp.clear();
                return false;
            }
        }
        reason = "no free temporary name";
        m_temp.clear();
        return false;
    }

    ExportResult WriteMbox() {
        std::string reason;
        if (!MakeTemp(false, reason)) {
            return Failed("cannot create a file in " + Folder(m_target).string(), reason);
        }
        BlockWriter writer(*m_tempFile);
        for (std::size_t i = 0; i < m_indexes.size(); ++i) {
            AppendMboxMessage(writer.Block(), m_doc, m_indexes[i]);
            if (!writer.FlushIfFull(reason)) {
                return Failed("cannot write " + m_temp.string(), reason);
            }
            if (Cancelled(i + 1)) {
                return {ExportStatus::Cancelled, {}, 0};
            }
        }
        if (!writer.Flush(reason) || !m_tempFile->Close(reason)) {
            return Failed("cannot write " + m_temp.string(), reason);
        }
        std::error_code error;
        fs::rename(m_temp, m_target, error);
        if (error) {
            return Failed("cannot rename the export to " + m_target.string(), error.message());
        }
        return {ExportStatus::Ok, {}, static_cast<int>(m_indexes.size())};
    }

    ExportResult WriteEml() {
        std::string reason;
        if (!MakeTemp(true, reason)) {
            return Failed("cannot create a folder in " + Folder(m_target).string(), reason);
        }
        const int count = m_doc.GetMessageCount();
        std::string bytes;
        for (std::size_t i = 0; i < m_indexes.size(); ++i) {
            fs::path path = m_temp / EmlFileName(m_indexes[i], count);
            std::unique_ptr<ExportFile> file = m_files.Create(path.string(), reason);
            if (file == nullptr) {
                return Failed("cannot create " + path.string(), reason);
            }
            bytes.clear();
            AppendEmlMessage(bytes, m_doc, m_indexes[i]);
            if (!file->Write(bytes, reason) || !file->Close(reason)) {
                return Failed("cannot write " + path.string(), reason);
            }
            if (Cancelled(i + 1)) {
                return {ExportStatus::Cancelled, {}, 0};
            }
        }
        return MoveEmlIntoPlace();
    }

    ExportResult MoveEmlIntoPlace() {
        std::error_code error;
        if (!fs::exists(m_target, error)) {
            fs::rename(m_temp, m_target, error);
            if (error) {
                return Failed("cannot rename the export to " + m_target.string(), error.message());
            }
            return {ExportStatus::Ok, {}, static_cast<int>(m_indexes.size())};
        }
        const int count = m_doc.GetMessageCount();
        for (int index : m_indexes) {
            std::string name = EmlFileName(index, count);
            fs::rename(m_temp / name, m_target / name, error);
            if (error) {
                return Failed("cannot move " + name + " into " + m_target.string(),
                              error.message());
            }
        }
        fs::remove(m_temp, error);
        return {ExportStatus::Ok, {}, static_cast<int>(m_indexes.size())};
    }

    const CEKViewDoc& m_doc;
    const ExportRequest& m_request;
    CProgressDlg& m_progress;
    ExportFileMaker& m_files;
    std::vector<int> m_indexes;
    fs::path m_target;
    fs::path m_temp;
    std::unique_ptr<ExportFile> m_tempFile;
};

}  // namespace

ExportFileMaker& StandardExportFiles() {
    static StdioExportFiles files;
    return files;
}

TargetState CheckExportTarget(const ExportRequest& request, const std::string& mailboxPath,
                              std::string& reason) {
    const fs::path target = TargetPath(request.target);
    reason.clear();
    if (target.empty()) {
        reason = "no target was named";
        return TargetState::WrongKind;
    }
    std::error_code error;
    fs::file_status status = fs::status(target, error);
    if (error && status.type() != fs::file_type::not_found) {
        reason = target.string() + ": " + error.message();
        return TargetState::Unreadable;
    }
    if (SameFile(target, mailboxPath)) {
        reason = target.string() + " is the open mailbox";
        return TargetState::IsMailbox;
    }
    if (status.type() == fs::file_type::not_found) {
        return TargetState::Free;
    }
    if (request.format == ExportFormat::Mbox) {
        if (fs::is_directory(status)) {
            reason = target.string() + " is a folder";
            return TargetState::WrongKind;
        }
        reason = target.string() + " exists";
        return TargetState::Exists;
    }
    if (!fs::is_directory(status)) {
        reason = target.string() + " is not a folder";
        return TargetState::WrongKind;
    }
    // A file the export would replace may be the mailbox itself, or a hard link to it.
    for (const fs::directory_entry& entry : fs::directory_iterator(target, error)) {
        if (entry.path().extension() == ".eml" && SameFile(entry.path(), mailboxPath)) {
            reason = entry.path().string() + " is the open mailbox";
            return TargetState::IsMailbox;
        }
    }
    if (error) {
        reason = target.string() + ": " + error.message();
        return TargetState::Unreadable;
    }
    if (fs::is_empty(target, error) || error) {
        return TargetState::Free;
    }
    reason = target.string() + " is not empty";
    return TargetState::Exists;
}

ExportResult ExportMessages(const CEKViewDoc& doc, const ExportRequest& request,
                            CProgressDlg& progress, ExportFileMaker& files) {
    std::vector<int> indexes;
    if (doc.GetMessageCount() == 0 || !ChosenIndexes(doc, request.indexes, indexes)) {
        return {ExportStatus::Refused, "no such message in the mailbox", 0};
    }
    std::string reason;
    TargetState state = CheckExportTarget(request, doc.m_strMailFile, reason);
    if (state != TargetState::Free && !(state == TargetState::Exists && request.replace)) {
        return {ExportStatus::Refused, reason, 0};
    }
    Exporter exporter(doc, request, progress, files, std::move(indexes));
    return exporter.Run();
}

}  // namespace ek
