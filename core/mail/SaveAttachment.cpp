#include "core/mail/SaveAttachment.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "core/mail/PartNames.h"

namespace ek::mail {

namespace {

// Far more copies of one name than anyone keeps in a folder.
constexpr int kMaxCopies = 10000;

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

SaveResult SaveIntoFolder(const std::string& folder, std::string_view safeName,
                          std::string_view bytes) {
    std::error_code error;
    const std::filesystem::path dir = std::filesystem::path(folder);
    if (folder.empty() || !std::filesystem::is_directory(dir, error)) {
        return {SaveStatus::NoFolder, {}, "not a folder: " + folder};
    }
    for (int copy = 1; copy <= kMaxCopies; ++copy) {
        const std::string name = copy == 1 ? std::string(safeName) : NumberedName(safeName, copy);
        const std::filesystem::path path = dir / std::filesystem::path(name);
        // "x": fails when the file exists (C11), so no existing file is opened.
        std::unique_ptr<std::FILE, FileClose> file(std::fopen(path.string().c_str(), "wbx"));
        if (!file) {
            if (errno == EEXIST) {
                continue;
            }
            return {SaveStatus::CannotWrite, {}, path.string() + ": " + std::strerror(errno)};
        }
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
        const bool closed = std::fclose(file.release()) == 0;
        if (!written || !closed) {
            std::filesystem::remove(path, error);
            return {SaveStatus::CannotWrite, {}, path.string() + ": write failed"};
        }
        return {SaveStatus::Ok, path.string(), {}};
    }
    return {SaveStatus::CannotWrite, {}, "too many files named " + std::string(safeName)};
}

}  // namespace ek::mail
