#include "shell/RecentFileList.h"

#include <algorithm>

#include "core/frame/SettingsFormats.h"
#include "core/platform/PathNames.h"

namespace ek {

namespace {

// Characters of a UTF-8 string (continuation bytes do not count).
std::size_t CharCount(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

}  // namespace

void CRecentFileList::ReadList(const ProfileStore& profile) {
    std::vector<std::string> names = settings::LoadRecentFiles(profile);
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        m_names[i] = i < names.size() ? names[i] : std::string();
    }
}

void CRecentFileList::WriteList(ProfileStore& profile) const {
    std::vector<std::string> names;
    for (const std::string& name : m_names) {
        if (!name.empty()) {
            names.push_back(name);
        }
    }
    settings::SaveRecentFiles(profile, names);
}

void CRecentFileList::Add(const std::string& path) {
    if (m_names.empty() || path.empty()) {
        return;
    }
    auto found = std::find(m_names.begin(), m_names.end(), path);
    if (found == m_names.end()) {
        found = m_names.end() - 1;
    }
    std::rotate(m_names.begin(), found, found + 1);
    m_names.front() = path;
}

void CRecentFileList::Remove(std::size_t index) {
    if (index >= m_names.size()) {
        return;
    }
    m_names.erase(m_names.begin() + static_cast<std::ptrdiff_t>(index));
    m_names.emplace_back();
}

bool CRecentFileList::IsEmpty() const {
    return std::all_of(m_names.begin(), m_names.end(),
                       [](const std::string& name) { return name.empty(); });
}

std::string CRecentFileList::GetMenuText(std::size_t index, const std::string& currentDir) const {
    if (index >= m_names.size() || m_names[index].empty()) {
        return {};
    }
    std::string name = pathname::ForDisplay(m_names[index]);
    if (!currentDir.empty()) {
        std::string dir = currentDir;
        if (!IsSeparator(dir.back())) {
            dir += '/';
        }
        if (name.size() > dir.size() && name.compare(0, dir.size(), dir) == 0 &&
            name.find_first_of("/\\", dir.size()) == std::string::npos) {
            name.erase(0, dir.size());
        }
    }
    name = AbbreviateName(name, kMaxDisplayLength);
    std::string text = "&";
    text += std::to_string(index + 1);
    text += ' ';
    for (char c : name) {
        text += c;
        if (c == '&') {
            text += '&';
        }
    }
    return text;
}

std::string CRecentFileList::AbbreviateName(const std::string& path, std::size_t maxLength) {
    if (CharCount(path) <= maxLength) {
        return path;
    }
    std::size_t lastSep = path.find_last_of("/\\");
    if (lastSep == std::string::npos) {
        return path;
    }
    std::string fileName = path.substr(lastSep + 1);
    // The root: "/" or "C:\" or "\\server\share\".
    std::size_t rootEnd = 0;
    if (path.size() >= 3 && path[1] == ':' && IsSeparator(path[2])) {
        rootEnd = 3;
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        std::size_t server = path.find_first_of("/\\", 2);
        std::size_t share =
            server == std::string::npos ? server : path.find_first_of("/\\", server + 1);
        rootEnd = share == std::string::npos ? 0 : share + 1;
    } else if (IsSeparator(path[0])) {
        rootEnd = 1;
    }
    const char sep = path[lastSep];
    std::string root = path.substr(0, rootEnd);
    // Drop leading folders one by one until the rest fits.
    std::size_t start = rootEnd;
    while (start < lastSep) {
        std::size_t next = path.find_first_of("/\\", start);
        if (next == std::string::npos || next >= lastSep) {
            break;
        }
        start = next + 1;
        std::string candidate = root + "..." + sep + path.substr(start);
        if (CharCount(candidate) <= maxLength) {
            return candidate;
        }
    }
    std::string shortest = root + "..." + sep + fileName;
    return CharCount(shortest) <= maxLength ? shortest : fileName;
}

}  // namespace ek
