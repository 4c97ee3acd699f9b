// The profile on wxConfig: the registry key HKEY_CURRENT_USER\Software\Ubrik\EKView
// on Windows, the file $XDG_CONFIG_HOME/Ubrik/EKView.conf (by default under
// ~/.config) elsewhere, with the same sections and keys.
#pragma once

#include <memory>
#include <string>

#include "core/platform/ProfileStore.h"

class wxConfigBase;

namespace ek {

class WxProfileStore : public ProfileStore {
  public:
    static constexpr const char* kVendor = "Ubrik";
    static constexpr const char* kAppName = "EKView";

    // The user's profile file: $XDG_CONFIG_HOME (when absolute) or $HOME/.config,
    // then Ubrik/EKView.conf. Empty where the profile is the registry.
    static std::string DefaultPath();

    // Reads the profile from `path` (DefaultPath() when empty). A missing file, one
    // that cannot be read or parsed, gives an empty profile; nothing is shown. A file
    // too large to be a profile also gives an empty one, and the first save keeps it
    // aside under GetSetAsidePath().
    explicit WxProfileStore(const std::string& path = {});
    ~WxProfileStore() override;
    WxProfileStore(const WxProfileStore&) = delete;
    WxProfileStore& operator=(const WxProfileStore&) = delete;

    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const override;
    bool WriteProfileString(const std::string& section, const std::string& key,
                            const std::string& value) override;
    int GetProfileInt(const std::string& section, const std::string& key,
                      int defaultValue) const override;
    bool WriteProfileInt(const std::string& section, const std::string& key, int value) override;

    // Saves the changes, whole or not at all: the file is replaced by a complete new
    // one, never truncated. True when nothing needed saving.
    bool Flush() override;
    const std::string& GetPath() const { return m_path; }
    std::string GetSetAsidePath() const { return m_path + ".bad"; }

  private:
    std::string m_path;
    std::unique_ptr<wxConfigBase> m_config;
    bool m_dirty = false;
    // The file on disk is damaged and must be moved aside before the next save.
    bool m_setAside = false;
};

}  // namespace ek
