#include "core/platform/ProfileFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "core/platform/NativePath.h"
#include "core/platform/ReadOnlyFile.h"

namespace ek {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// A line without its line end and leading blanks; blanks at its end belong to a value,
// as they do when the viewer reads the file.
std::string_view LineText(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    while (!line.empty() && IsBlank(line.front())) {
        line.remove_prefix(1);
    }
    return line;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A name with its backslash escapes removed.
std::string UnescapeName(std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 1 < name.size()) {
            ++i;
        }
        out += name[i];
    }
    return out;
}

std::string UnescapeValue(std::string_view value) {
    bool quoted = !value.empty() && value.front() == '"';
    if (quoted) {
        value.remove_prefix(1);
    }
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == '\\' && i + 1 < value.size()) {
            char next = value[++i];
            out += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : next;
        } else if (c == '"' && quoted) {
            break;
        } else {
            out += c;
        }
    }
    return out;
}

std::string SectionPath(std::string_view section) {
    std::string path;
    for (char c : section) {
        path += c == '\\' ? '/' : c;
    }
    while (!path.empty() && path.front() == '/') {
        path.erase(0, 1);
    }
    return path;
}

std::string EntryKey(const std::string& section, const std::string& key) {
    std::string path = SectionPath(section);
    return path.empty() ? key : path + "/" + key;
}

// The position of the first unescaped `stop` in `text`, or npos.
std::size_t FindUnescaped(std::string_view text, char stop) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
        } else if (text[i] == stop) {
            return i;
        }
    }
    return std::string_view::npos;
}

}  // namespace

#ifdef _WIN32

// Windows keeps the user's files under %APPDATA%; without it, no profile rather than
// one from the current folder. The wide environment keeps non-ASCII folder names.
std::string ProfileFilePath() {
    std::filesystem::path base;
    const wchar_t* xdg = _wgetenv(L"XDG_CONFIG_HOME");
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (xdg != nullptr && std::filesystem::path(xdg).is_absolute()) {
        base = xdg;
    } else if (appData != nullptr && std::filesystem::path(appData).is_absolute()) {
        base = appData;
    } else {
        return {};
    }
    return PathBytes(base / "Ubrik" / "EKView.conf");
}

#else

std::string ProfileFilePath() {
    std::filesystem::path base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && std::filesystem::path(xdg).is_absolute()) {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home != nullptr ? home : ".") / ".config";
    }
    return (base / "Ubrik" / "EKView.conf").string();
}

#endif

ProfileFileBytes ReadProfileFile(const std::string& path) {
    // Only a regular file is read: a folder or a FIFO in its place must not stop the
    // program.
    ProfileFileBytes result;
    ReadOnlyFile file;
    std::string reason;
    if (!file.Open(path, FileSharing::ReadersOnly, reason)) {
        return result;
    }
    if (file.Size() > kMaxProfileFileSize) {
        result.status = ProfileFileBytes::Status::TooLarge;
        return result;
    }
    // One byte more than the limit shows a file that grew since it was opened.
    std::string& text = result.bytes;
    text.resize(static_cast<std::size_t>(file.Size()) + 1);
    std::size_t filled = 0;
    while (filled < text.size()) {
        long long got = file.Read(text.data() + filled, text.size() - filled, reason);
        if (got < 0) {
            text.clear();
            return result;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
        if (filled > kMaxProfileFileSize) {
            text.clear();
            result.status = ProfileFileBytes::Status::TooLarge;
            return result;
        }
        if (filled == text.size()) {
            text.resize(std::min<std::size_t>(text.size() * 2, kMaxProfileFileSize + 1));
        }
    }
    text.resize(filled);
    result.status = ProfileFileBytes::Status::Read;
    return result;
}

ProfileFile ProfileFile::Load(const std::string& path) {
    return Parse(ReadProfileFile(path).bytes);
}

ProfileFile ProfileFile::Parse(std::string_view text) {
    ProfileFile profile;
    std::string group;
    while (!text.empty()) {
        std::size_t lf = text.find('\n');
        std::string_view line = LineText(text.substr(0, lf));
        text = lf == std::string_view::npos ? std::string_view() : text.substr(lf + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            std::size_t close = FindUnescaped(line.substr(1), ']');
            if (close != std::string_view::npos) {
                group = SectionPath(UnescapeName(line.substr(1, close)));
            }
            continue;
        }
        std::size_t equals = FindUnescaped(line, '=');
        if (equals == std::string_view::npos) {
            continue;
        }
        std::string key = UnescapeName(TrimBlanks(line.substr(0, equals)));
        std::string value = UnescapeValue(LineText(line.substr(equals + 1)));
        profile.m_values[group.empty() ? key : group + "/" + key] = std::move(value);
    }
    return profile;
}

std::string ProfileFile::GetProfileString(const std::string& section, const std::string& key,
                                          const std::string& defaultValue) const {
    auto found = m_values.find(EntryKey(section, key));
    return found == m_values.end() ? defaultValue : found->second;
}

int ProfileFile::GetProfileInt(const std::string& section, const std::string& key,
                               int defaultValue) const {
    auto found = m_values.find(EntryKey(section, key));
    if (found == m_values.end()) {
        return defaultValue;
    }
    return ParseProfileInt(found->second).value_or(defaultValue);
}

}  // namespace ek
