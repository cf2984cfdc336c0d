#include "catalog/DisabledStores.h"
#include "catalog/Sections.h"
#include "operations/Operations.h"
#include "operations/OperationsFixture.h"
#include "support/Seed.h"

namespace lsu {
namespace {

constexpr std::string_view kUserRun = "Registry\\Current User\\Run";
constexpr std::string_view kMachineRun = "Registry\\All Users\\Run";

class EnableDisableTest : public test::OperationsTest {
protected:
    RegistryLocation userRun(bool disabled = false) {
        std::string subkey = GetSubKey(kUserRun);
        return {Hive::CurrentUser, RegistryView::Shared, disabled ? disabledSubkey(subkey) : subkey};
    }
    RegistryLocation machineRun(RegistryView view, bool disabled = false) {
        std::string subkey = GetSubKey(kMachineRun);
        return {Hive::LocalMachine, view, disabled ? disabledSubkey(subkey) : subkey};
    }
    // Clears or ticks the box of the listed row and runs the move.
    bool toggle(std::string_view section, const std::string& name) {
        auto entry = row(section, name);
        EXPECT_TRUE(entry) << name;
        if (!entry) return false;
        entry->Checked = !entry->Checked;
        bool moved = EnabledDisableProgram(platform, prompts, *entry);
        EXPECT_EQ(entry->Checked, entry->Status == kStatusEnabled);
        return moved;
    }
    // Disables and enables again; the value must be back exactly as it was.
    void expectRoundTrip(const RegistryValue& value, std::string_view section = kUserRun,
                         RegistryView view = RegistryView::Shared) {
        const RegistryLocation enabled =
            section == kUserRun ? userRun() : machineRun(view);
        RegistryLocation disabled = enabled;
        disabled.subkey = disabledSubkey(enabled.subkey);
        ASSERT_TRUE(platform.writeValue(enabled, value, true));
        ASSERT_TRUE(toggle(section, value.name));
        EXPECT_FALSE(platform.readValue(enabled, value.name));
        EXPECT_EQ(platform.readValue(disabled, value.name), value);
        ASSERT_TRUE(toggle(section, value.name));
        EXPECT_EQ(platform.readValue(enabled, value.name), value);
        EXPECT_FALSE(platform.readValue(disabled, value.name));
        EXPECT_TRUE(prompts.messages.empty());
        platform.deleteValue(enabled, value.name);
    }
};

TEST_F(EnableDisableTest, RoundTripKeepsStringValueExactly) {
    expectRoundTrip(test::stringValue("Tool", "C:\\Tools\\tool.exe /min"));
}

TEST_F(EnableDisableTest, RoundTripKeepsNameWithSpacesAtBothEnds) {
    expectRoundTrip(test::stringValue("  Spaced Tool  ", "C:\\Tools\\tool.exe"));
}

TEST_F(EnableDisableTest, RoundTripKeepsNonAsciiNameAndData) {
    expectRoundTrip(test::stringValue("Überwachung 監視", "C:\\Programme\\Überwachung\\監視.exe"));
}

TEST_F(EnableDisableTest, RoundTripKeepsDefaultValue) {
    expectRoundTrip(test::stringValue("", "C:\\Tools\\default.exe"));
}

TEST_F(EnableDisableTest, RoundTripKeepsLongValue) {
    expectRoundTrip(test::stringValue("Long", "C:\\" + std::string(1500, 'a') + ".exe"));
}

TEST_F(EnableDisableTest, RoundTripKeepsExpandStringType) {
    expectRoundTrip(test::stringValue("Expanding", "%SystemRoot%\\system32\\tool.exe", kRegExpandSz));
}

TEST_F(EnableDisableTest, RoundTripKeepsDwordType) { expectRoundTrip(test::dwordValue("Number", 0x01020304)); }

TEST_F(EnableDisableTest, RoundTripKeepsBinaryBytes) {
    expectRoundTrip(RegistryValue{"Bytes", kRegBinary, {0x00, 0xFF, 0x10, 0x80, 0x00}});
}

TEST_F(EnableDisableTest, ThirtyTwoBitValueReturnsToThirtyTwoBitView) {
    if (platform.viewsShareKey(Hive::LocalMachine, GetSubKey(kMachineRun))) GTEST_SKIP() << "one view only";
    expectRoundTrip(test::stringValue("Legacy", "C:\\Old\\legacy.exe"), kMachineRun, RegistryView::Bits32);
    EXPECT_FALSE(platform.readValue(machineRun(RegistryView::Bits64), "Legacy"));
    EXPECT_FALSE(platform.readValue(machineRun(RegistryView::Bits64, true), "Legacy"));
}

TEST_F(EnableDisableTest, DisableMovesTheValueReadNowNotTheListedText) {
    platform.writeValue(userRun(), test::stringValue("Tool", "old.exe"), true);
    auto entry = row(kUserRun, "Tool");
    ASSERT_TRUE(entry);
    platform.writeValue(userRun(), test::stringValue("Tool", "new.exe"), true);
    entry->Checked = false;
    ASSERT_TRUE(EnabledDisableProgram(platform, prompts, *entry));
    EXPECT_EQ(platform.readValue(userRun(true), "Tool"), test::stringValue("Tool", "new.exe"));
    platform.deleteValue(userRun(true), "Tool");
}

TEST_F(EnableDisableTest, ConflictingParkedValueIsKeptWhenUserSaysNo) {
    platform.writeValue(userRun(), test::stringValue("Tool", "live.exe"), true);
    platform.writeValue(userRun(true), test::stringValue("Tool", "parked.exe"), true);
    auto entry = row(kUserRun, "Tool");
    ASSERT_TRUE(entry && entry->Status == kStatusEnabled);
    entry->Checked = false;
    EXPECT_FALSE(EnabledDisableProgram(platform, prompts, *entry));
    EXPECT_TRUE(entry->Checked);
    EXPECT_EQ(entry->Status, kStatusEnabled);
    ASSERT_EQ(prompts.questions(), 1);
    EXPECT_EQ(prompts.messages[0].style, kStyleYesNo);
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_EQ(prompts.messages.back().prompt, "Nothing was changed.");
    EXPECT_EQ(platform.readValue(userRun(), "Tool"), test::stringValue("Tool", "live.exe"));
    EXPECT_EQ(platform.readValue(userRun(true), "Tool"), test::stringValue("Tool", "parked.exe"));
    platform.deleteValue(userRun(), "Tool");
    platform.deleteValue(userRun(true), "Tool");
}

TEST_F(EnableDisableTest, ConflictingParkedValueIsReplacedWhenUserSaysYes) {
    platform.writeValue(userRun(), test::stringValue("Tool", "live.exe"), true);
    platform.writeValue(userRun(true), test::stringValue("Tool", "parked.exe"), true);
    prompts.answers = {true};
    EXPECT_TRUE(toggle(kUserRun, "Tool"));
    EXPECT_FALSE(platform.readValue(userRun(), "Tool"));
    EXPECT_EQ(platform.readValue(userRun(true), "Tool"), test::stringValue("Tool", "live.exe"));
    platform.deleteValue(userRun(true), "Tool");
}

TEST_F(EnableDisableTest, IdenticalParkedValueIsNoConflict) {
    platform.writeValue(userRun(), test::stringValue("Tool", "same.exe"), true);
    platform.writeValue(userRun(true), test::stringValue("Tool", "same.exe"), true);
    EXPECT_TRUE(toggle(kUserRun, "Tool"));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_FALSE(platform.readValue(userRun(), "Tool"));
    platform.deleteValue(userRun(true), "Tool");
}

TEST_F(EnableDisableTest, WinIniLineRoundTripsWhole) {
    const std::string line = "C:\\Tools\\a.exe, C:\\Tools\\b.exe /x";
    test::seedWinIni(platform, kWinIniLoadKey, line);
    const std::string file = winIniPath(platform);
    ASSERT_TRUE(toggle(kWinIniLoad, "b"));
    EXPECT_EQ(platform.readProfile("SM_Disabled", "Load", file), line);
    EXPECT_EQ(platform.readProfile("Windows", "Load", file).value_or(""), "");
    ASSERT_TRUE(toggle(kWinIniLoad, "b"));
    EXPECT_EQ(platform.readProfile("Windows", "Load", file), line);
    EXPECT_EQ(platform.readProfile("SM_Disabled", "Load", file).value_or(""), "");
    test::seedWinIni(platform, kWinIniLoadKey, "");
}

TEST_F(EnableDisableTest, EnablingParkedLineOverAnotherLiveLineAsksFirst) {
    test::seedWinIni(platform, kWinIniRunKey, "parked.exe", true);
    test::seedWinIni(platform, kWinIniRunKey, "live.exe");
    auto entry = row(kWinIniRun, "parked");
    ASSERT_TRUE(entry && entry->Status == kStatusDisabled);
    entry->Checked = true;
    EXPECT_FALSE(EnabledDisableProgram(platform, prompts, *entry));
    EXPECT_FALSE(entry->Checked);
    EXPECT_EQ(prompts.questions(), 1);
    const std::string file = winIniPath(platform);
    EXPECT_EQ(platform.readProfile("Windows", "Run", file), "live.exe");
    EXPECT_EQ(platform.readProfile("SM_Disabled", "Run", file), "parked.exe");
    test::seedWinIni(platform, kWinIniRunKey, "");
    test::seedWinIni(platform, kWinIniRunKey, "", true);
}

TEST_F(EnableDisableTest, ShortcutMovesByteForByteToTheDisabledItemsFolder) {
    const std::string startup = test::startupFolder(platform, kStartupCurrentUser);
    const std::string parked = test::startupFolder(platform, kStartupCurrentUser, true);
    ShortcutFields fields;
    fields.targetPath = platform.windowsDirectory() + "\\notepad.exe";
    fields.arguments = "/x";
    backend->seedShortcut(startup + "\\Tool.lnk", fields);
    const auto bytes = platform.readFile(startup + "\\Tool.lnk");
    ASSERT_TRUE(toggle(kStartupCurrentUser, "Tool"));
    EXPECT_FALSE(platform.fileExists(startup + "\\Tool.lnk"));
    EXPECT_EQ(platform.readFile(parked + "\\Tool.lnk"), bytes);
    ASSERT_TRUE(toggle(kStartupCurrentUser, "Tool"));
    EXPECT_EQ(platform.readFile(startup + "\\Tool.lnk"), bytes);
    EXPECT_FALSE(platform.fileExists(parked + "\\Tool.lnk"));
    platform.deleteFile(startup + "\\Tool.lnk");
}

TEST_F(EnableDisableTest, DifferentParkedFileOfTheSameNameIsKeptOnNo) {
    const std::string startup = test::startupFolder(platform, kStartupAllUsers);
    const std::string parked = test::startupFolder(platform, kStartupAllUsers, true);
    const std::vector<std::uint8_t> live = {'l', 'i', 'v', 'e'}, old = {'o', 'l', 'd'};
    ASSERT_TRUE(platform.writeFile(startup + "\\tool.bat", live));
    ASSERT_TRUE(platform.writeFile(parked + "\\tool.bat", old));
    auto entry = row(kStartupAllUsers, "tool.bat");
    ASSERT_TRUE(entry && entry->Status == kStatusEnabled);
    entry->Checked = false;
    EXPECT_FALSE(EnabledDisableProgram(platform, prompts, *entry));
    EXPECT_EQ(prompts.questions(), 1);
    EXPECT_EQ(platform.readFile(startup + "\\tool.bat"), live);
    EXPECT_EQ(platform.readFile(parked + "\\tool.bat"), old);
    platform.deleteFile(startup + "\\tool.bat");
    platform.deleteFile(parked + "\\tool.bat");
}

TEST_F(EnableDisableTest, BoxThatAlreadyShowsTheStatusMovesNothing) {
    platform.writeValue(userRun(), test::stringValue("Tool", "tool.exe"), true);
    auto entry = row(kUserRun, "Tool");
    ASSERT_TRUE(entry && entry->Checked);
    EXPECT_FALSE(EnabledDisableProgram(platform, prompts, *entry));
    EXPECT_TRUE(platform.readValue(userRun(), "Tool"));
    platform.deleteValue(userRun(), "Tool");
}

}  // namespace
}  // namespace lsu
