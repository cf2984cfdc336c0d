#include <gtest/gtest.h>

#include "catalog/DisabledStores.h"
#include "support/Backend.h"
#include "support/Scratch.h"

namespace lsu {
namespace {

class PlatformContractProfile : public ::testing::Test {
protected:
    std::unique_ptr<test::Backend> backend = test::makeCleanBackend();
    Platform& platform = backend->platform();
    const std::string winIni = winIniPath(platform);

    std::optional<std::string> roundTrip(const std::string& section, const std::string& value) {
        EXPECT_TRUE(platform.writeProfile(section, "Load", value, winIni));
        return platform.readProfile(section, "Load", winIni);
    }
};

TEST_F(PlatformContractProfile, MissingKeyIsNotAnEmptyValue) {
    EXPECT_FALSE(platform.readProfile("Windows", "LsuNeverWritten", winIni));
    EXPECT_FALSE(platform.readProfile("Lsu Section Never Written", "Load", winIni));
}

TEST_F(PlatformContractProfile, EmptyValueIsReadAsEmpty) { EXPECT_EQ(roundTrip("Windows", ""), ""); }

TEST_F(PlatformContractProfile, OneCharacterValueIsReadWhole) { EXPECT_EQ(roundTrip("Windows", "x"), "x"); }

TEST_F(PlatformContractProfile, LongValueIsReadWhole) {
    const std::string line = "C:\\Tools\\" + std::string(300, 'w') + ".exe /quiet";
    EXPECT_EQ(roundTrip("Windows", line), line);
}

TEST_F(PlatformContractProfile, TextOutsideTheAnsiCodePageSurvives) {
    const std::string line = "C:\\\xCE\xB1\xCE\xB2\\\xE4\xB8\xAD\xE6\x96\x87\xF0\x9F\x98\x80.exe";
    EXPECT_EQ(roundTrip("Windows", line), line);
}

TEST_F(PlatformContractProfile, ParkedSectionKeepsItsOwnValue) {
    ASSERT_EQ(roundTrip("Windows", "enabled.exe"), "enabled.exe");
    EXPECT_EQ(roundTrip(std::string(kWinIniDisabledSection), "parked.exe"), "parked.exe");
    EXPECT_EQ(platform.readProfile("Windows", "Load", winIni), "enabled.exe");
}

TEST_F(PlatformContractProfile, WritingCreatesANewSection) {
    test::Scratch scratch(platform, "profile contract");
    const std::string file = scratch.fileAt(scratch.folder() + "\\settings.ini", "");
    ASSERT_TRUE(platform.writeProfile("SM_Disabled", "Run", "tool.exe", file));
    EXPECT_EQ(platform.readProfile("SM_Disabled", "Run", file), "tool.exe");
    EXPECT_FALSE(platform.readProfile("Windows", "Run", file));
}

}  // namespace
}  // namespace lsu
