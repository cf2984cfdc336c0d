#include <gtest/gtest.h>

#include "platform/win32/Win32Platform.h"

namespace lsu {
namespace {

// The system hive is not redirected: both views open one key, and the kernel
// names of the two open keys must say so. A key that is missing is shared by
// nothing.
TEST(Win32RegistryViews, OnlyAKeyOutsideTheRedirectedTreeIsShared) {
    Win32Platform platform;
    EXPECT_TRUE(platform.viewsShareKey(Hive::LocalMachine, "System\\CurrentControlSet\\Control"));
    EXPECT_FALSE(platform.viewsShareKey(Hive::LocalMachine, "Software\\LStartUp Contract\\Missing"));
}

}  // namespace
}  // namespace lsu
