#include "catalog/StartupSwitches.h"
#include "operations/Messages.h"
#include "operations/OperationsFixture.h"
#include "scanners/SectionLoading.h"

namespace lsu::test {
namespace {

using enum SectionId;

// A switch as Windows writes it: flags, then the time of the change.
RegistryValue switchValue(const std::string& name, std::uint8_t flags) {
    return {name, kRegBinary, {flags, 0, 0, 0, 0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0x01}};
}

// One entry of each kind Windows keeps switches for, where Windows reads it.
struct Switched {
    SectionId leaf;
    RegistryView view;
    std::string name;  // the entry's name in the list; its switch bears the file name for a link
};

class StartupSwitchTest : public OperationsTest {
protected:
    std::vector<Switched> entries() {
        std::vector<Switched> cases = {{UserRun, RegistryView::Shared, "Tray"}};
        if (!platform.viewsShareKey(Hive::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"))
            cases.push_back({MachineRun, RegistryView::Bits32, "Legacy"});
        cases.push_back({StartupCurrentUser, RegistryView::Shared, "Notes"});
        return cases;
    }
    std::string switchName(const Switched& entry) {
        return entry.leaf == StartupCurrentUser ? entry.name + ".lnk" : entry.name;
    }
    void seed(const Switched& entry, bool disabled = false) {
        if (entry.leaf == StartupCurrentUser)
            backend->seedShortcut(startupFolder(platform, entry.leaf, disabled) + "\\" + switchName(entry),
                                  linkTo("C:\\Tools\\notes.exe"));
        else
            seedRegistry(platform, entry.leaf, stringValue(entry.name, "C:\\Tools\\tray.exe"), disabled, entry.view);
    }
    RegistryLocation switchKey(const Switched& entry) { return *switchKeyOf(entry.leaf, entry.view); }
    void setSwitch(const Switched& entry, const RegistryValue& value) {
        platform.writeValue(switchKey(entry), value, true);
    }
    std::optional<RegistryValue> switchOf(const Switched& entry) {
        return platform.readValue(switchKey(entry), switchName(entry));
    }
    StartupEntry row(const Switched& entry) { return findRow(platform, entry.leaf, entry.name).value(); }
};

TEST_F(StartupSwitchTest, AnEntryWhoseSwitchIsOffIsShownUntickedAndTickingItTurnsOnlyThatSwitchOn) {
    for (const Switched& entry : entries()) {
        SCOPED_TRACE(switchName(entry));
        seed(entry);
        setSwitch(entry, switchValue(switchName(entry), 0x03));
        setSwitch(entry, switchValue("Unrelated", 0x03));
        StartupEntry shown = row(entry);
        EXPECT_TRUE(shown.enabled);
        EXPECT_TRUE(shown.switchedOff);
        EXPECT_FALSE(shown.checked);
        EXPECT_EQ(cellText(shown, Column::State), "Off in Windows settings");
        EXPECT_NE(stateReason(shown), nullptr);

        ASSERT_TRUE(clickBox(platform, prompts, shown));
        EXPECT_TRUE(shown.checked);
        EXPECT_EQ(switchOf(entry)->data, (std::vector<std::uint8_t>{0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(platform.readValue(switchKey(entry), "Unrelated"), switchValue("Unrelated", 0x03));
        EXPECT_TRUE(row(entry).checked);
        EXPECT_TRUE(row(entry).enabled);
    }
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(StartupSwitchTest, EnablingAParkedEntryWhoseSwitchIsOffTurnsItOnTooAndParkingLeavesItAlone) {
    const Switched parked{UserRun, RegistryView::Shared, "Tray"}, live{UserRun, RegistryView::Shared, "Live"};
    seed(parked, true);
    setSwitch(parked, switchValue("Tray", 0x07));
    StartupEntry shown = row(parked);
    ASSERT_TRUE(clickBox(platform, prompts, shown));
    EXPECT_TRUE(row(parked).enabled);
    EXPECT_TRUE(row(parked).checked);
    EXPECT_EQ(switchOf(parked)->data, (std::vector<std::uint8_t>{0x06, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    seed(live);
    setSwitch(live, switchValue("Live", 0x02));
    StartupEntry started = row(live);
    ASSERT_TRUE(clickBox(platform, prompts, started));
    EXPECT_FALSE(row(live).enabled);
    EXPECT_EQ(switchOf(live), switchValue("Live", 0x02));
}

TEST_F(StartupSwitchTest, DeletingAnEntryRemovesItsSwitchAndRenamingCarriesIt) {
    const Switched entry{UserRun, RegistryView::Shared, "Tray"};
    seed(entry);
    setSwitch(entry, switchValue("Tray", 0x03));
    setSwitch(entry, switchValue("Orphan", 0x03));
    ASSERT_TRUE(editEntry(platform, prompts, row(entry), {"Renamed", "C:\\Tools\\tray.exe", UserRun}));
    EXPECT_FALSE(switchOf(entry));
    EXPECT_EQ(platform.readValue(switchKey(entry), "Renamed"), switchValue("Renamed", 0x03));
    ASSERT_TRUE(deleteEntry(platform, prompts, findRow(platform, UserRun, "Renamed").value()));
    EXPECT_FALSE(platform.readValue(switchKey(entry), "Renamed"));
    EXPECT_EQ(platform.readValue(switchKey(entry), "Orphan"), switchValue("Orphan", 0x03));
}

TEST_F(StartupSwitchTest, ASwitchOfAnotherShapeReadsAsOnAndIsNeverRewritten) {
    const Switched entry{UserRun, RegistryView::Shared, "Tray"};
    seed(entry);
    for (const RegistryValue& malformed : {RegistryValue{"Tray", kRegBinary, {}}, RegistryValue{"Tray", kRegBinary, {0x03}},
                                           stringValue("Tray", "03")}) {
        setSwitch(entry, malformed);
        StartupEntry shown = row(entry);
        EXPECT_TRUE(shown.checked);
        ASSERT_TRUE(clickBox(platform, prompts, shown));
        StartupEntry parked = row(entry);
        ASSERT_TRUE(clickBox(platform, prompts, parked));
        EXPECT_EQ(switchOf(entry), malformed);
    }
}

TEST_F(OperationsTest, PolicyEntriesOfBothHivesAndViewsAreListedButNeverChanged) {
    std::vector<std::pair<SectionId, RegistryView>> cases = {{UserPolicyRun, RegistryView::Shared},
                                                            {MachinePolicyRun, RegistryView::Bits64}};
    if (!platform.viewsShareKey(Hive::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run"))
        cases.emplace_back(MachinePolicyRun, RegistryView::Bits32);
    for (const auto& [leaf, view] : cases) {
        const RegistryValue value = stringValue("Mandated " + std::to_string(static_cast<int>(view)), "C:\\corp\\agent.exe");
        seedRegistry(platform, leaf, value, false, view);
        StartupEntry row = findRow(platform, leaf, value.name).value();
        EXPECT_TRUE(row.checked);
        EXPECT_EQ(cellText(row, Column::State), "Set by policy");
        EXPECT_FALSE(clickBox(platform, prompts, row));
        EXPECT_TRUE(row.checked);
        EXPECT_FALSE(deleteEntry(platform, prompts, row));
        EXPECT_FALSE(editEntry(platform, prompts, row, {"Other", "x.exe", UserRun}));
        EXPECT_EQ(platform.readValue(registryKeyOf(leaf, false, view), value.name), value);
        EXPECT_FALSE(platform.readValues(registryKeyOf(leaf, true, view)));
    }
    for (SectionId offered : sectionsOffered(false)) EXPECT_FALSE(section(offered).readOnly);
}

}  // namespace
}  // namespace lsu::test
