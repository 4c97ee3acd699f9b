// The recent-file list: the most recently opened files, most recent first, kept in
// the profile with the settings' recent-file formats.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/platform/ProfileStore.h"

namespace ek {

class CRecentFileList {
  public:
    static constexpr std::size_t kMaxDisplayLength = 30;

    explicit CRecentFileList(std::size_t size) : m_names(size) {}

    void ReadList(const ProfileStore& profile);
    // Writes every entry; emptied slots are written empty so that they stay empty.
    void WriteList(ProfileStore& profile) const;

    // Moves the path to the front, dropping the oldest entry when the list is full.
    void Add(const std::string& path);
    void Remove(std::size_t index);

    std::size_t GetSize() const { return m_names.size(); }
    const std::string& operator[](std::size_t index) const { return m_names[index]; }
    bool IsEmpty() const;

    // The menu text of entry `index`: "&1 " and the abbreviated path, readable (as
    // UTF-8 or CP932), '&' doubled.
    // Empty for an empty slot. Entries in `currentDir` show their file name only.
    std::string GetMenuText(std::size_t index, const std::string& currentDir) const;

    // Shortens a path to at most `maxLength` characters by replacing leading folders
    // with "..."; keeps the root and the file name, or the file name alone at worst.
    static std::string AbbreviateName(const std::string& path, std::size_t maxLength);

  private:
    std::vector<std::string> m_names;
};

}  // namespace ek
