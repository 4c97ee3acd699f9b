// The per-user profile: string and integer values by section and key. The window
// layer stores it with wxConfig; tests use MemoryProfileStore.
#pragma once

#include <map>
#include <string>
#include <utility>

namespace ek {

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // Strings are UTF-8. An absent value, or one of another type, yields the default.
    virtual std::string GetProfileString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) const = 0;
    virtual bool WriteProfileString(const std::string& section, const std::string& key,
                                    const std::string& value) = 0;
    virtual int GetProfileInt(const std::string& section, const std::string& key,
                              int defaultValue) const = 0;
    virtual bool WriteProfileInt(const std::string& section, const std::string& key,
                                 int value) = 0;
};

}  // namespace ek
