// The single-instance lock of the windowed engine.
#include "platform/instance_lock.h"

#include <gtest/gtest.h>

#include "support/game_fixture.h"

namespace torvel {
namespace {

TEST(InstanceLockTest, SecondLockInTheSameFolderIsRefusedUntilTheFirstIsGone) {
  testing::TempFolder folder;
  {
    InstanceLock first(folder.Path());
    ASSERT_TRUE(first.Held());
    InstanceLock second(folder.Path());
    EXPECT_FALSE(second.Held());
  }
  InstanceLock again(folder.Path());
  EXPECT_TRUE(again.Held());
}

TEST(InstanceLockTest, OtherUsersFoldersDoNotInterfere) {
  testing::TempFolder a;
  testing::TempFolder b;
  InstanceLock first(a.Path());
  InstanceLock second(b.Path());
  EXPECT_TRUE(first.Held());
  EXPECT_TRUE(second.Held());
}

}  // namespace
}  // namespace torvel
