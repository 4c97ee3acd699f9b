// The profile file that the viewer keeps on Linux and macOS, read without any
// toolkit: the command-line tool takes the user's quote marks and colours from it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "core/platform/ProfileStore.h"

namespace ek {

// $XDG_CONFIG_HOME (when absolute) or $HOME/.config, then Ubrik/EKView.conf; on
// Windows %APPDATA% in place of $HOME/.config, and empty when neither is set.
std::string ProfileFilePath();

// A profile holds a few kilobytes; a larger file than this is damaged, and reading it
// whole would cost minutes and gigabytes before the first window.
inline constexpr std::uint64_t kMaxProfileFileSize = std::uint64_t{4} << 20;

struct ProfileFileBytes {
    enum class Status {
        Read,
        // Missing, no regular file, or unreadable: the defaults, nothing to keep.
        Absent,
        // Larger than kMaxProfileFileSize: the defaults; `bytes` stays empty.
        TooLarge,
    };
    Status status = Status::Absent;
    std::string bytes;
};

// The whole profile file at `path`, read only when it is a regular file of at most
// kMaxProfileFileSize bytes.
ProfileFileBytes ReadProfileFile(const std::string& path);

// A read-only view of a profile file in wxFileConfig's text format: "[Group/Sub]"
// lines, "key=value" lines, ';' and '#' comments, backslash escapes in names and
// values, and values in double quotes when they begin or end with white space.
// Writing is refused.
class ProfileFile : public ProfileStore {
  public:
    // An empty profile when the file is missing, unreadable, not a regular file or
    // too large (see ReadProfileFile).
    static ProfileFile Load(const std::string& path);
    static ProfileFile Parse(std::string_view text);

    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const override;
    bool WriteProfileString(const std::string&, const std::string&, const std::string&) override {
        return false;
    }
    int GetProfileInt(const std::string& section, const std::string& key,
                      int defaultValue) const override;
    bool WriteProfileInt(const std::string&, const std::string&, int) override { return false; }

  private:
    // "Group/Sub/key" -> value; a backslash in a section name separates levels.
    std::map<std::string, std::string> m_values;
};

}  // namespace ek
