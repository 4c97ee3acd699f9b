// Writing an attachment into a folder the user chose, never over an existing file.
#pragma once

#include <string>
#include <string_view>

namespace ek::mail {

enum class SaveStatus { Ok, NoFolder, CannotWrite };

struct SaveResult {
    SaveStatus status = SaveStatus::Ok;
    std::string path;    // the file written (UTF-8 path), when Ok
    std::string reason;  // why not, otherwise
    explicit operator bool() const { return status == SaveStatus::Ok; }
};

// Creates a new file in `folder` named `safeName`, or "name (2).ext", "name (3).ext", ...
// when that exists, and writes `bytes` into it. A file is created only when no file of
// that name exists, so that nothing is ever replaced, whoever else writes there.
SaveResult SaveIntoFolder(const std::string& folder, std::string_view safeName,
                          std::string_view bytes);

}  // namespace ek::mail
