// File names as the system takes them. Our paths are byte strings: UTF-8 as the
// command line and the dialogs give them, or CP932 bytes as the mail program wrote
// them. POSIX takes the bytes as they are; Windows names files in UTF-16.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ek {

// The path for the system: on Windows the bytes read as UTF-8 when they are valid
// UTF-8 and as CP932 otherwise; elsewhere the bytes unchanged.
std::filesystem::path NativePath(std::string_view bytes);

// A path as our byte strings hold it: UTF-8 on Windows, the bytes elsewhere.
std::string PathBytes(const std::filesystem::path& path);

}  // namespace ek
