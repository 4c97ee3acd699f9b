// File names as bytes. On Linux a path is any byte string: archives copied from old
// Windows disks carry Shift-JIS names, which are not UTF-8. The bytes are kept as
// given wherever a file is opened or remembered; these helpers make them readable
// and carry them through text that must be UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ek::pathname {

// The path in UTF-8 for titles, menus and messages: each folder and file name as
// it is when it is valid UTF-8, else read as CP932.
std::string ForDisplay(std::string_view path);

// The form kept in the UTF-8 profile: the path itself when it is valid UTF-8, else
// a file URI ("file:///" and the bytes percent-encoded; "file:" and the bytes for
// a path that is not absolute). FromProfile undoes it for every byte string.
std::string ToProfile(std::string_view path);
std::string FromProfile(std::string_view value);

// The local files of a text/uri-list (as dropped by a file manager), as bytes.
// Comment lines, other schemes and other hosts are skipped.
std::vector<std::string> FilesOfUriList(std::string_view uriList);

}  // namespace ek::pathname
