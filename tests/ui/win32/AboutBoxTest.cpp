#include <gtest/gtest.h>

#include "ProductIdentity.h"
#include "WindowHarness.h"

namespace lsu::test {

TEST(AboutBox, NamesTheVersionAndTheCopyright) {
    WindowHarness harness;
    harness.open();
    ModalWatch watch;
    harness.choose(GetSubMenu(GetMenu(harness.main()), 3), "About Larkwell StartUp");
    ASSERT_EQ(watch.boxTexts().size(), 1u);
    EXPECT_EQ(watch.boxTitles().front(), "About Larkwell StartUp");
    EXPECT_TRUE(watch.boxTexts().front().starts_with("Tovane StartUp " LSU_VERSION_TEXT "\r\n"));
    EXPECT_TRUE(watch.boxTexts().front().ends_with("\r\n" LSU_COPYRIGHT));
}

}  // namespace lsu::test
