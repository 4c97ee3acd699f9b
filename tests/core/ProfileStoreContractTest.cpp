#include <memory>

#include "core/platform/MemoryProfileStore.h"
#include "tests/support/ProfileStoreContract.h"

namespace ek {
namespace {

INSTANTIATE_PROFILE_STORE_CONTRACT(Memory, [] { return std::make_unique<MemoryProfileStore>(); });

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
