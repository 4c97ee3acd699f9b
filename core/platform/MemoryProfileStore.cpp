#include "core/platform/MemoryProfileStore.h"

namespace ek {

MemoryProfileStore::Name MemoryProfileStore::MakeName(std::string_view section,
                                                      std::string_view key) {
    std::string path(section);
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return {std::move(path), std::string(key)};
}

const MemoryProfileStore::Value* MemoryProfileStore::Find(const std::string& section,
                                                          const std::string& key) const {
    auto it = m_values.find(MakeName(section, key));
    return it == m_values.end() ? nullptr : &it->second;
}

std::string MemoryProfileStore::GetProfileString(const std::string& section, const std::string& key,
                                                 const std::string& defaultValue) const {
    const Value* value = Find(section, key);
    if (value == nullptr) {
        return defaultValue;
    }
    if (const int* number = std::get_if<int>(value)) {
        return std::to_string(*number);
    }
    return std::get<std::string>(*value);
}

bool MemoryProfileStore::WriteProfileString(const std::string& section, const std::string& key,
                                            const std::string& value) {
    m_values[MakeName(section, key)] = value;
    return true;
}

int MemoryProfileStore::GetProfileInt(const std::string& section, const std::string& key,
                                      int defaultValue) const {
    const Value* value = Find(section, key);
    if (value == nullptr) {
        return defaultValue;
    }
    if (const int* number = std::get_if<int>(value)) {
        return *number;
    }
    return ParseProfileInt(std::get<std::string>(*value)).value_or(defaultValue);
}

bool MemoryProfileStore::WriteProfileInt(const std::string& section, const std::string& key,
                                         int value) {
    m_values[MakeName(section, key)] = value;
    return true;
}

bool MemoryProfileStore::HasValue(const std::string& section, const std::string& key) const {
    return Find(section, key) != nullptr;
}

}  // namespace ek
