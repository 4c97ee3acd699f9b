// A profile held in memory, for tests and for runs that must leave no trace.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "core/platform/ProfileStore.h"

namespace ek {

class MemoryProfileStore : public ProfileStore {
  public:
    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const override;
    bool WriteProfileString(const std::string& section, const std::string& key,
                            const std::string& value) override;
    int GetProfileInt(const std::string& section, const std::string& key,
                      int defaultValue) const override;
    bool WriteProfileInt(const std::string& section, const std::string& key, int value) override;

    // Lets tests tell "never written" from "written with the default".
    bool HasValue(const std::string& section, const std::string& key) const;
    std::size_t ValueCount() const { return m_values.size(); }

  private:
    using Value = std::variant<std::string, int>;
    using Name = std::pair<std::string, std::string>;

    static Name MakeName(std::string_view section, std::string_view key);
    const Value* Find(const std::string& section, const std::string& key) const;

    std::map<Name, Value> m_values;
};

}  // namespace ek
