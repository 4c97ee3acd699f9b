// Writing an export: the target checked, the files written into a temporary file
// or folder beside it, and moved into place only when everything was written.
#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <new>
#include <random>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include "core/platform/NativePath.h"
#else
#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>
#endif

#include "core/document/EKViewDoc.h"
#include "core/document/Export.h"
#include "core/document/GatherWriter.h"
#include "core/platform/ProgressDlg.h"

namespace ek {

namespace fs = std::filesystem;

namespace {

constexpr int kTempNameTries = 16;
// How many messages ahead their first lines are fetched into the cache while writing.
constexpr std::size_t kPrefetchAhead = 32;

#ifdef _WIN32
// The C runtime's descriptors: binary, so that LF stays LF, and not inherited.
int CreateExclusive(const std::string& path) {
    return ::_wopen(NativePath(path).c_str(),
                    _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
}
long long WriteSome(int fd, const char* data, std::size_t size) {
    return ::_write(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}
int CloseFd(int fd) {
    return ::_close(fd);
}
#else
int CreateExclusive(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
long long WriteSome(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}
int CloseFd(int fd) {
    return ::close(fd);
}
#endif

// Plain descriptor writes: every block goes to the kernel at once, so that a full
// disk is reported by the write that met it.
class FdExportFile : public ExportFile {
  public:
    explicit FdExportFile(int fd) : m_fd(fd) {}
    ~FdExportFile() override {
        if (m_fd >= 0) {
            CloseFd(m_fd);
        }
    }
    FdExportFile(const FdExportFile&) = delete;
    FdExportFile& operator=(const FdExportFile&) = delete;

    bool Write(std::string_view bytes, std::string& reason) override {
        while (!bytes.empty()) {
            long long written = WriteSome(m_fd, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                reason = std::generic_category().message(written < 0 ? errno : ENOSPC);
                return false;
            }
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return true;
    }
    bool WriteGather(std::span<const std::string_view> pieces, std::string& reason) override {
#ifdef _WIN32
        // No gathered write in the C runtime: piece by piece.
        for (std::string_view piece : pieces) {
            if (!Write(piece, reason)) {
                return false;
            }
        }
        return true;
#else
        // Filled before use: clearing it would cost more than a small .eml file.
        std::array<iovec, kGatherPieces> iov;
        while (!pieces.empty()) {
            std::size_t count = std::min(pieces.size(), iov.size());
            for (std::size_t i = 0; i < count; ++i) {
                iov[i] = {const_cast<char*>(pieces[i].data()), pieces[i].size()};
            }
            if (!WriteAll(std::span<iovec>(iov.data(), count), reason)) {
                return false;
            }
            pieces = pieces.subspan(count);
        }
        return true;
#endif
    }
    bool Close(std::string& reason) override {
        if (CloseFd(std::exchange(m_fd, -1)) != 0) {
            reason = std::generic_category().message(errno);
            return false;
        }
        return true;
    }

  private:
#ifndef _WIN32
    // writev until every byte went, resuming after a short write.
    bool WriteAll(std::span<iovec> iov, std::string& reason) {
        while (!iov.empty()) {
            ssize_t written = ::writev(m_fd, iov.data(), static_cast<int>(iov.size()));
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                reason = std::generic_category().message(written < 0 ? errno : ENOSPC);
                return false;
            }
            auto left = static_cast<std::size_t>(written);
            while (!iov.empty() && left >= iov.front().iov_len) {
                left -= iov.front().iov_len;
                iov = iov.subspan(1);
            }
            if (left > 0) {
                iov.front().iov_base = static_cast<char*>(iov.front().iov_base) + left;
                iov.front().iov_len -= left;
            }
        }
        return true;
    }
#endif

    int m_fd;
};

class FdExportFiles : public ExportFileMaker {
  public:
    std::unique_ptr<ExportFile> Create(const std::string& path, std::string& reason) override {
        // O_EXCL: never open a file that already exists (another export's, or a link).
        int fd = CreateExclusive(path);
        if (fd < 0) {
            reason = std::generic_category().message(errno);
            return nullptr;
        }
        return std::make_unique<FdExportFile>(fd);
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

    // CheckCancel after message `done` of the whole; SetPosition only when the
    // percentage moves, as the bar's redraw costs more than a small message.
    bool Cancelled(std::size_t done) {
        int percent = static_cast<int>(done * 100 / m_indexes.size());
        if (percent != m_percent) {
            m_percent = percent;
            m_progress.SetPosition(percent);
        }
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
        GatherWriter writer(*m_tempFile);
        const std::function<void(std::string_view)> add = [&writer](std::string_view piece) {
            writer.Add(piece);
        };
        for (std::size_t i = 0; i < m_indexes.size(); ++i) {
            if (i + kPrefetchAhead < m_indexes.size()) {
                m_doc.PrefetchLine(m_indexes[i + kPrefetchAhead],
                                   CEKViewDoc::Prefetched::StartLine);
            }
            writer.SetStable(m_doc.MessageLines(m_indexes[i]).text());
            ForEachMboxPiece(m_doc, m_indexes[i], add);
            if (!writer.ok()) {
                return Failed("cannot write " + m_temp.string(), writer.reason());
            }
            if (Cancelled(i + 1)) {
                return {ExportStatus::Cancelled, {}, 0};
            }
        }
        if (!writer.Finish()) {
            return Failed("cannot write " + m_temp.string(), writer.reason());
        }
        if (!m_tempFile->Close(reason)) {
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
    int m_percent = -1;
};

}  // namespace

bool ExportFile::WriteGather(std::span<const std::string_view> pieces, std::string& reason) {
    return std::all_of(pieces.begin(), pieces.end(),
                       [&](std::string_view piece) { return Write(piece, reason); });
}

ExportFileMaker& StandardExportFiles() {
    static FdExportFiles files;
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
