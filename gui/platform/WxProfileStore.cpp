#include "gui/platform/WxProfileStore.h"

#include <wx/fileconf.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifdef __WXMSW__
#include <wx/msw/regconf.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "core/platform/ProfileFile.h"
#include "gui/platform/WxText.h"

namespace ek {

namespace {

// "/Section/Level/key": both "\" and "/" separate the levels of a section.
wxString EntryPath(const std::string& section, const std::string& key) {
    std::string path = "/";
    for (char c : section) {
        path += c == '\\' ? '/' : c;
    }
    path += '/';
    path += key;
    return FromUtf8(path);
}

// The lines wxFileConfig can take: blank lines, comments, "[group]" and "key=value"
// with a key. It asserts on some damaged lines ("=value"), so those are dropped here
// and a damaged profile reads as if they were absent.
std::string KeepParsableLines(const std::string& bytes) {
    std::string kept;
    kept.reserve(bytes.size());
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        std::string line = bytes.substr(start, end - start);
        start = end + 1;
        std::size_t first = line.find_first_not_of(" \t\r");
        bool keep = false;
        if (first == std::string::npos || line[first] == ';' || line[first] == '#') {
            keep = true;
        } else if (line[first] == '[') {
            std::size_t close = line.find(']', first);
            keep = close != std::string::npos && close > first + 1 &&
                   line.find_first_not_of(" \t\r", close + 1) == std::string::npos;
        } else {
            std::size_t equals = line.find('=', first);
            keep =
                equals != std::string::npos && line.find_first_not_of(" \t", first) < equals &&
                line.substr(first, equals - first).find_first_not_of(" \t") != std::string::npos &&
                line.substr(first, equals - first).find('/') == std::string::npos;
        }
        // A line that is not UTF-8 would make wxFileConfig drop the whole file, and
        // closing would then write the defaults over the user's settings.
        bool utf8 = line.empty() || !FromUtf8(line).empty();
        if (keep && utf8 && line.find('\0') == std::string::npos) {
            kept += line;
            kept += '\n';
        }
    }
    return kept;
}

#ifndef __WXMSW__
// Writes the bytes to a new file beside `path`, syncs it, then renames it over
// `path`, so that a crash leaves either the old file or the new one.
bool ReplaceFile(const std::string& path, const void* data, std::size_t size) {
    std::error_code error;
    std::filesystem::path target(path);
    std::filesystem::create_directories(target.parent_path(), error);
    std::string temp = path + ".XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return false;
    }
    const char* at = static_cast<const char*>(data);
    std::size_t left = size;
    bool ok = true;
    while (ok && left > 0) {
        ssize_t written = ::write(fd, at, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        ok = written > 0;
        if (ok) {
            at += written;
            left -= static_cast<std::size_t>(written);
        }
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
    }
    return ok;
}
#endif

}  // namespace

std::string WxProfileStore::DefaultPath() {
#ifdef __WXMSW__
    return {};
#else
    return ProfileFilePath();
#endif
}

WxProfileStore::WxProfileStore(const std::string& path)
    : m_path(path.empty() ? DefaultPath() : path) {
    // A damaged profile gives the defaults; wx must not open a message box about it.
    wxLogNull quiet;
#ifdef __WXMSW__
    m_config = std::make_unique<wxRegConfig>(kAppName, kVendor);
#else
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(m_path).parent_path(), error);
    ProfileFileBytes file = ReadProfileFile(m_path);
    m_setAside = file.status == ProfileFileBytes::Status::TooLarge;
    std::string bytes = KeepParsableLines(file.bytes);
    wxMemoryInputStream stream(bytes.data(), bytes.size());
    auto config = std::make_unique<wxFileConfig>(stream, wxConvUTF8);
    config->SetUmask(077);
    m_config = std::move(config);
#endif
    m_config->SetExpandEnvVars(false);
}

WxProfileStore::~WxProfileStore() = default;

std::string WxProfileStore::GetProfileString(const std::string& section, const std::string& key,
                                             const std::string& defaultValue) const {
    wxString value;
    if (!m_config->Read(EntryPath(section, key), &value)) {
        return defaultValue;
    }
    return ToUtf8(value);
}

bool WxProfileStore::WriteProfileString(const std::string& section, const std::string& key,
                                        const std::string& value) {
    wxString text = FromUtf8(value);
    if (text.empty() && !value.empty()) {
        return false;
    }
    m_dirty = true;
    return m_config->Write(EntryPath(section, key), text);
}

int WxProfileStore::GetProfileInt(const std::string& section, const std::string& key,
                                  int defaultValue) const {
    return ParseProfileInt(GetProfileString(section, key, {})).value_or(defaultValue);
}

bool WxProfileStore::WriteProfileInt(const std::string& section, const std::string& key,
                                     int value) {
    return WriteProfileString(section, key, std::to_string(value));
}

bool WxProfileStore::Flush() {
    if (!m_dirty) {
        return true;
    }
#ifdef __WXMSW__
    bool ok = m_config->Flush();
#else
    // A damaged file too large to read goes aside once rather than being lost under
    // the new one; while it cannot, it is not overwritten.
    if (m_setAside) {
        if (::rename(m_path.c_str(), GetSetAsidePath().c_str()) != 0 && errno != ENOENT) {
            return false;
        }
        m_setAside = false;
    }
    wxLogNull quiet;
    wxMemoryOutputStream out;
    bool ok = static_cast<wxFileConfig&>(*m_config).Save(out, wxConvUTF8);
    if (ok) {
        wxStreamBuffer* buffer = out.GetOutputStreamBuffer();
        ok = ReplaceFile(m_path, buffer->GetBufferStart(), buffer->GetIntPosition());
    }
#endif
    if (ok) {
        m_dirty = false;
    }
    return ok;
}

}  // namespace ek
