// The checks that every ProfileStore must pass. A test file instantiates them for
// one store with a single line, for example:
//
//   INSTANTIATE_PROFILE_STORE_CONTRACT(Memory, [] { return std::make_unique<MemoryProfileStore>();
//   });
//
// A store that persists passes a second function that flushes a store and opens
// the same data anew, so that round trips go through its saved form. Include this
// header from one file per test executable.
#pragma once

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <utility>

#include "core/platform/ProfileStore.h"

namespace ek::contract {

using StoreFactory = std::function<std::unique_ptr<ProfileStore>()>;
using StoreReopener = std::function<std::unique_ptr<ProfileStore>(std::unique_ptr<ProfileStore>)>;

struct ProfileStoreBackend {
    std::string name;
    // A fresh, empty store.
    StoreFactory create;
    // Saves the store and returns one reading the saved data; empty for a store
    // that keeps nothing beyond itself.
    StoreReopener reopen;
};

inline ProfileStoreBackend MakeBackend(std::string name, StoreFactory create,
                                       StoreReopener reopen = nullptr) {
    return {std::move(name), std::move(create), std::move(reopen)};
}

inline void PrintTo(const ProfileStoreBackend& backend, std::ostream* out) {
    *out << backend.name;
}

class ProfileStoreContract : public ::testing::TestWithParam<ProfileStoreBackend> {
  protected:
    void SetUp() override {
        m_store = GetParam().create();
        ASSERT_NE(m_store, nullptr);
    }

    ProfileStore& Store() { return *m_store; }

    // The store as the next run of the program would see it.
    ProfileStore& Reopened() {
        if (GetParam().reopen) {
            m_store = GetParam().reopen(std::move(m_store));
        }
        return *m_store;
    }

  private:
    std::unique_ptr<ProfileStore> m_store;
};

inline const std::string kSection = "Settings";

// "N0", "N1", ...: built by appending, as GCC 12 at -O3 warns falsely (-Wrestrict)
// about a literal + a temporary string.
inline std::string NumberedKey(const char* prefix, std::size_t number) {
    std::string key = prefix;
    key += std::to_string(number);
    return key;
}

TEST_P(ProfileStoreContract, AbsentValuesYieldTheDefault) {
    EXPECT_EQ(Store().GetProfileString(kSection, "Quote", "fallback"), "fallback");
    EXPECT_EQ(Store().GetProfileString(kSection, "Quote", ""), "");
    EXPECT_EQ(Store().GetProfileInt(kSection, "Header", 1), 1);
    EXPECT_EQ(Store().GetProfileInt(kSection, "Header", INT_MIN), INT_MIN);
    EXPECT_EQ(Store().GetProfileInt("No Such Section", "Header", 7), 7);

    ASSERT_TRUE(Store().WriteProfileString(kSection, "CFont", "200:x"));
    ProfileStore& store = Reopened();
    EXPECT_EQ(store.GetProfileString(kSection, "TFont", "100:y"), "100:y");
    EXPECT_EQ(store.GetProfileInt(kSection, "LVH", -3), -3);
    EXPECT_EQ(store.GetProfileString("Other", "CFont", "none"), "none");
}

TEST_P(ProfileStoreContract, StringsComeBackByteForByte) {
    const std::string cases[] = {
        "ＭＳ 明朝",
        "240:ＭＳ Ｐゴシック",
        "",
        ":",
        "a:b::c:",
        "> ＞ | #",
        "  leading and trailing  ",
        "trailing blanks only \t ",
        "quote \" back\\slash ; semi = equals # hash [brackets]",
        "%d %s %%",
        "C:\\Users\\me\\メール\\受信箱.mbx",
        "/home/me/mail/inbox",
        std::string(10000, 'x') + "末尾",
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_TRUE(Store().WriteProfileString(kSection, "Key" + std::to_string(i), cases[i]));
    }
    ProfileStore& store = Reopened();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].substr(0, 60));
        EXPECT_EQ(store.GetProfileString(kSection, "Key" + std::to_string(i), "absent"), cases[i]);
    }
}

TEST_P(ProfileStoreContract, IntegersComeBackExactly) {
    const int cases[] = {0, 1, -1, -5, 200, INT_MAX, INT_MIN, 0x00FF8040, 0x00FFFFFF};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_TRUE(Store().WriteProfileInt(kSection, "Int" + std::to_string(i), cases[i]));
    }
    ProfileStore& store = Reopened();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i]);
        EXPECT_EQ(store.GetProfileInt(kSection, "Int" + std::to_string(i), 12345), cases[i]);
    }
}

TEST_P(ProfileStoreContract, TheLastWriteWinsWhateverItsType) {
    ASSERT_TRUE(Store().WriteProfileString(kSection, "S", "first"));
    ASSERT_TRUE(Store().WriteProfileString(kSection, "S", "second"));
    ASSERT_TRUE(Store().WriteProfileInt(kSection, "I", 1));
    ASSERT_TRUE(Store().WriteProfileInt(kSection, "I", -2));
    ASSERT_TRUE(Store().WriteProfileString(kSection, "StoI", "text"));
    ASSERT_TRUE(Store().WriteProfileInt(kSection, "StoI", 3));
    ASSERT_TRUE(Store().WriteProfileInt(kSection, "ItoS", 4));
    ASSERT_TRUE(Store().WriteProfileString(kSection, "ItoS", "words"));
    ASSERT_TRUE(Store().WriteProfileString(kSection, "Emptied", "something"));
    ASSERT_TRUE(Store().WriteProfileString(kSection, "Emptied", ""));

    ProfileStore& store = Reopened();
    EXPECT_EQ(store.GetProfileString(kSection, "S", ""), "second");
    EXPECT_EQ(store.GetProfileInt(kSection, "I", 0), -2);
    EXPECT_EQ(store.GetProfileInt(kSection, "StoI", 0), 3);
    EXPECT_EQ(store.GetProfileString(kSection, "ItoS", ""), "words");
    EXPECT_EQ(store.GetProfileInt(kSection, "ItoS", 99), 99);
    EXPECT_EQ(store.GetProfileString(kSection, "Emptied", "absent"), "");
}

TEST_P(ProfileStoreContract, IntegersReadAsStringsGiveTheirDecimalText) {
    const std::pair<int, const char*> cases[] = {{0, "0"},
                                                 {-42, "-42"},
                                                 {0x00FF8040, "16744512"},
                                                 {INT_MAX, "2147483647"},
                                                 {INT_MIN, "-2147483648"}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_TRUE(Store().WriteProfileInt(kSection, NumberedKey("N", i), cases[i].first));
    }
    ProfileStore& store = Reopened();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].second);
        EXPECT_EQ(store.GetProfileString(kSection, NumberedKey("N", i), "absent"), cases[i].second);
    }
}

TEST_P(ProfileStoreContract, StringsReadAsIntegersOnlyWhenWhollyDecimal) {
    const std::pair<const char*, int> cases[] = {
        {"123", 123},
        {"-7", -7},
        {"+8", 8},
        {"0", 0},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"+0", 0},
        {"-0", 0},
        {"007", 7},
        {"", -1},
        {"+", -1},
        {"+-5", -1},
        {"-+5", -1},
        {"++5", -1},
        {"--5", -1},
        {" 5", -1},
        {"5 ", -1},
        {"5x", -1},
        {"abc", -1},
        {"12px", -1},
        {"0x10", -1},
        {"1.5", -1},
        {"-", -1},
        {"2147483648", -1},
        {"-2147483649", -1},
        {"99999999999", -1},
        {"200:ＭＳ 明朝", -1},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_TRUE(Store().WriteProfileString(kSection, NumberedKey("V", i), cases[i].first));
    }
    ProfileStore& store = Reopened();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].first);
        EXPECT_EQ(store.GetProfileInt(kSection, NumberedKey("V", i), -1), cases[i].second);
    }
}

TEST_P(ProfileStoreContract, SectionsAreIndependent) {
    ASSERT_TRUE(Store().WriteProfileString("Settings", "File1", "settings"));
    ASSERT_TRUE(Store().WriteProfileString("Recent File List", "File1", "/a/b.mbx"));
    ASSERT_TRUE(Store().WriteProfileInt("Settings", "Header", 0));
    ASSERT_TRUE(Store().WriteProfileInt("Other", "Header", 5));

    ProfileStore& store = Reopened();
    EXPECT_EQ(store.GetProfileString("Settings", "File1", ""), "settings");
    EXPECT_EQ(store.GetProfileString("Recent File List", "File1", ""), "/a/b.mbx");
    EXPECT_EQ(store.GetProfileInt("Settings", "Header", 1), 0);
    EXPECT_EQ(store.GetProfileInt("Other", "Header", 1), 5);
    EXPECT_EQ(store.GetProfileInt("Recent File List", "Header", 1), 1);
}

TEST_P(ProfileStoreContract, SectionPathsNestWithEitherSeparator) {
    ASSERT_TRUE(Store().WriteProfileString("ControlBars\\State-Summary", "Bars", "2"));
    ASSERT_TRUE(Store().WriteProfileInt("ControlBars\\State-Bar0", "Visible", 1));
    ASSERT_TRUE(Store().WriteProfileInt("ControlBars\\State-Bar1", "Visible", 0));
    ASSERT_TRUE(Store().WriteProfileString("ControlBars/State", "Layout", "perspective"));
    ASSERT_TRUE(Store().WriteProfileString("ControlBars", "State", "a value, not a section"));

    ProfileStore& store = Reopened();
    EXPECT_EQ(store.GetProfileString("ControlBars\\State-Summary", "Bars", ""), "2");
    EXPECT_EQ(store.GetProfileString("ControlBars/State-Summary", "Bars", ""), "2");
    EXPECT_EQ(store.GetProfileInt("ControlBars\\State-Bar0", "Visible", -1), 1);
    EXPECT_EQ(store.GetProfileInt("ControlBars\\State-Bar1", "Visible", -1), 0);
    EXPECT_EQ(store.GetProfileString("ControlBars\\State", "Layout", ""), "perspective");
    EXPECT_EQ(store.GetProfileString("ControlBars", "State", ""), "a value, not a section");
    EXPECT_EQ(store.GetProfileString("ControlBars", "Layout", "absent"), "absent");
    EXPECT_EQ(store.GetProfileString("State", "Layout", "absent"), "absent");
}

}  // namespace ek::contract

#define INSTANTIATE_PROFILE_STORE_CONTRACT(prefix, ...)                                 \
    using ::ek::contract::ProfileStoreContract;                                         \
    INSTANTIATE_TEST_SUITE_P(                                                           \
        prefix, ProfileStoreContract,                                                   \
        ::testing::Values(::ek::contract::MakeBackend(#prefix, __VA_ARGS__)),           \
        [](const ::testing::TestParamInfo<::ek::contract::ProfileStoreBackend>& info) { \
            return info.param.name;                                                     \
        })
