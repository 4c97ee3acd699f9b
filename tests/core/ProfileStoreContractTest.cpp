#include <map>
#include <memory>
#include <string>

#include "core/platform/MemoryProfileStore.h"
#include "core/platform/ProfileFile.h"
#include "tests/support/ProfileStoreContract.h"

namespace ek {
namespace {

INSTANTIATE_PROFILE_STORE_CONTRACT(Memory, [] { return std::make_unique<MemoryProfileStore>(); });

// Writes a profile file in the viewer's format (wxFileConfig's, as ProfileFile reads
// it), so that the command-line tool's reader passes the contract on what it reads.
class ProfileFileWriter : public ProfileStore {
  public:
    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const override {
        return Read().GetProfileString(section, key, defaultValue);
    }
    bool WriteProfileString(const std::string& section, const std::string& key,
                            const std::string& value) override {
        std::string group;
        for (char c : section) {
            group += c == '\\' ? '/' : c;
        }
        m_groups[group][key] = value;
        return true;
    }
    int GetProfileInt(const std::string& section, const std::string& key,
                      int defaultValue) const override {
        return Read().GetProfileInt(section, key, defaultValue);
    }
    bool WriteProfileInt(const std::string& section, const std::string& key, int value) override {
        return WriteProfileString(section, key, std::to_string(value));
    }

    // The file's text: values that begin or end with a blank go in double quotes.
    std::string Text() const {
        std::string text;
        for (const auto& [group, entries] : m_groups) {
            text += "[" + group + "]\n";
            for (const auto& [key, value] : entries) {
                const bool quoted = !value.empty() && (value.front() == ' ' || value.back() == ' ');
                text += key + "=" + (quoted ? "\"" : "");
                for (char c : value) {
                    text += c == '\\' ? "\\\\" : c == '"' && quoted ? "\\\"" : std::string(1, c);
                }
                text += quoted ? "\"\n" : "\n";
            }
        }
        return text;
    }

  private:
    ProfileFile Read() const { return ProfileFile::Parse(Text()); }

    std::map<std::string, std::map<std::string, std::string>> m_groups;
};

INSTANTIATE_PROFILE_STORE_CONTRACT(
    ProfileFile, [] { return std::make_unique<ProfileFileWriter>(); },
    [](std::unique_ptr<ProfileStore> written) -> std::unique_ptr<ProfileStore> {
        const auto& writer = static_cast<const ProfileFileWriter&>(*written);
        return std::make_unique<ProfileFile>(ProfileFile::Parse(writer.Text()));
    });

TEST(MemoryProfileStoreTest, HasValueTellsWrittenFromDefault) {
    MemoryProfileStore store;
    EXPECT_FALSE(store.HasValue("Settings", "PreviewPages"));
    store.WriteProfileInt("Settings", "PreviewPages", 0);
    EXPECT_TRUE(store.HasValue("Settings", "PreviewPages"));
    EXPECT_FALSE(store.HasValue("Settings", "Header"));
    store.WriteProfileString("ControlBars\\State", "Layout", "x");
    EXPECT_TRUE(store.HasValue("ControlBars/State", "Layout"));
    EXPECT_EQ(store.ValueCount(), 2u);
}

}  // namespace
}  // namespace ek
