#include <gtest/gtest.h>

#include "WindowHarness.h"

namespace lsu::test {

TEST(MainWindowStart, ShowsTheRootSectionWithSeededEntries) {
    WindowHarness harness;
    harness.seedCurrentUserRun("Tool", "C:\\nowhere\\tool.exe");
    harness.open();
    EXPECT_EQ(harness.selectedSectionKey(), "All Programs");
    EXPECT_NE(harness.rowNamed("Tool"), -1);
}

}  // namespace lsu::test
