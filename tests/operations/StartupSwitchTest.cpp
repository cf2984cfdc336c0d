#include "catalog/DisabledStores.h"
#include "catalog/StartupSwitches.h"
#include "operations/OperationsFixture.h"
#include "scanners/SectionLoading.h"

namespace lsu::test {
namespace {

using enum SectionId;

// A switch as Windows writes it: flags, then the time of the change.
RegistryValue switchValue(const std::string& name, std::uint8_t flags) {
    return {name, kRegBinary, {flags, 0, 0, 0, 0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0x01}};
}

// The same switch turned on: the flags' bit 0 cleared, the time zeroed.
RegistryValue switchedOnValue(const std::string& name, std::uint8_t flags) {
    return {name, kRegBinary, {flags, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
}

// One entry of a kind Windows keeps switches for, where Windows reads it.
struct Switched {
    SectionId leaf;
    RegistryView view;
    std::string name;   // the entry's name in the list
    std::string store;  // the key of its switch below StartupApproved, in its hive's 64-bit view
    // Its switch bears the file name for a link.
    std::string switchName() const { return leaf == StartupCurrentUser ? name + ".lnk" : name; }
    RegistryLocation switchKey() const {
        const bool user = leaf != MachineRun;
        return {user ? Hive::CurrentUser : Hive::LocalMachine, user ? RegistryView::Shared : RegistryView::Bits64,
                "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\" + store};
    }
};

class StartupSwitchTest : public OperationsTest {
protected:
    const Switched tray{UserRun, RegistryView::Shared, "Tray", "Run"};

    std::vector<Switched> entries() {
        std::vector<Switched> cases = {tray,
                                       {StartupCurrentUser, RegistryView::Shared, "Notes", "StartupFolder"},
                                       {MachineRun, RegistryView::Bits64, "Agent", "Run"}};
        if (!platform.registry.viewsShareKey(Hive::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"))
            cases.push_back({MachineRun, RegistryView::Bits32, "Legacy", "Run32"});
        return cases;
    }
    void seed(const Switched& entry, std::uint8_t flags, bool disabled = false) {
        if (entry.leaf == StartupCurrentUser)
            backend->seedShortcut(startupFolder(platform, entry.leaf, disabled) + "\\" + entry.switchName(),
                                  linkTo("C:\\Tools\\notes.exe"));
        else seedRegistry(platform, entry.leaf, stringValue(entry.name, "C:\\Tools\\tray.exe"), disabled, entry.view);
        expectDone(platform.registry.writeValue(entry.switchKey(), switchValue(entry.switchName(), flags), true),
                   "seeding a switch");
    }
    std::optional<RegistryValue> switchOf(const Switched& entry, const std::string& name) {
        return platform.registry.readValue(entry.switchKey(), name);
    }
    StartupEntry row(const Switched& entry) { return findRow(platform, entry.leaf, entry.name).value(); }
};

// Where it stands or parked, the entry is shown unticked; ticking it turns
// on its switch alone, and parking it again leaves the switch on.
TEST_F(StartupSwitchTest, TickingAnEntryWhoseSwitchIsOffTurnsOnlyThatSwitchOnAndParkingLeavesItOn) {
    ASSERT_TRUE(ensureDisabledItemsFolders(platform.system, platform.files));  // as the program does when it starts
    for (const Switched& entry : entries())
        for (bool parked : {false, true}) {
            SCOPED_TRACE(entry.switchName() + (parked ? ", parked" : ""));
            seed(entry, 0x07, parked);
            ASSERT_TRUE(platform.registry.writeValue(entry.switchKey(), switchValue("Unrelated", 0x03), true));
            StartupEntry shown = row(entry);
            EXPECT_EQ(std::pair(shown.enabled, shown.checked), std::pair(!parked, false));
            EXPECT_EQ(cellText(shown, Column::State), parked ? "Disabled" : "Off in Windows settings");
            EXPECT_EQ(stateReason(shown) != nullptr, !parked);

            const Click ticked = clickBox(platform, prompts, shown);
            ASSERT_TRUE(ticked);
            EXPECT_FALSE(ticked.shown);
            EXPECT_TRUE(shown.checked && row(entry).checked && row(entry).enabled && !stateReason(row(entry)));
            EXPECT_EQ(switchOf(entry, entry.switchName()), switchedOnValue(entry.switchName(), 0x06));
            EXPECT_EQ(switchOf(entry, "Unrelated"), switchValue("Unrelated", 0x03));
            ASSERT_TRUE(clickBox(platform, prompts, shown));
            EXPECT_EQ(switchOf(entry, entry.switchName()), switchedOnValue(entry.switchName(), 0x06));
        }
    EXPECT_TRUE(prompts.questions.empty());
}

TEST_F(StartupSwitchTest, DeletingAnEntryRemovesItsSwitchAndRenamingCarriesIt) {
    seed(tray, 0x03);
    ASSERT_TRUE(platform.registry.writeValue(tray.switchKey(), switchValue("Orphan", 0x03), true));
    ASSERT_TRUE(editEntry(platform, prompts, row(tray), {"Renamed", "C:\\Tools\\tray.exe", UserRun}));
    EXPECT_FALSE(switchOf(tray, "Tray"));
    EXPECT_EQ(switchOf(tray, "Renamed"), switchValue("Renamed", 0x03));
    ASSERT_TRUE(deleteEntry(platform, findRow(platform, UserRun, "Renamed").value()));
    EXPECT_FALSE(switchOf(tray, "Renamed"));
    EXPECT_EQ(switchOf(tray, "Orphan"), switchValue("Orphan", 0x03));
}

// An edited entry's switch goes where the entry goes: to the key of another
// section, made when Windows has not made it yet, or to the name respelt.
TEST_F(StartupSwitchTest, EditingCarriesTheSwitchWhereTheEntryGoes) {
    for (const Switched& to : {Switched{MachineRun, RegistryView::Bits64, "Tray", "Run"},
                               Switched{UserRun, RegistryView::Shared, "TRAY", "Run"}}) {
        seed(tray, 0x03);
        const ChangeResult edited = editEntry(platform, prompts, row(tray), {to.name, "C:\\Tools\\tray.exe", to.leaf});
        ASSERT_TRUE(edited) << to.name;
        EXPECT_EQ(edited->warning, std::nullopt) << to.name;
        EXPECT_EQ(switchOf(to, to.name)->data, switchValue(to.name, 0x03).data) << to.name;
    }
}

TEST(SwitchTurnedOn, ThatDoesNotReadBackIsAFailedEnable) {
    MemoryPlatform platform;
    ScriptedPrompts prompts;
    seedRegistry(platform, UserRun, stringValue("Tray", "C:\\Tools\\tray.exe"));
    ASSERT_TRUE(platform.writeValue(*switchKeyOf(UserRun, RegistryView::Shared), switchValue("Tray", 0x03), true));
    StartupEntry row = findRow(platform, UserRun, "Tray").value();
    refuseReadBack(platform);
    const Click click = clickBox(platform, prompts, row);
    EXPECT_FALSE(click);
    EXPECT_FALSE(row.checked);
    ASSERT_TRUE(click.shown);
    EXPECT_TRUE(click.shown->text.starts_with(kSwitchStaysOffPrompt)) << click.shown->text;
    EXPECT_NE(click.shown->text.find("did not read back"), std::string::npos) << click.shown->text;
}

TEST_F(StartupSwitchTest, ASwitchOfAnotherShapeReadsAsOnAndIsNeverRewritten) {
    seed(tray, 0x03);
    for (const RegistryValue& malformed : {RegistryValue{"Tray", kRegBinary, {}},
                                           RegistryValue{"Tray", kRegBinary, {0x03}}, stringValue("Tray", "03")}) {
        ASSERT_TRUE(platform.registry.writeValue(tray.switchKey(), malformed, true));
        for (bool ticked : {true, false}) {
            StartupEntry shown = row(tray);
            EXPECT_EQ(shown.checked, ticked);
            ASSERT_TRUE(clickBox(platform, prompts, shown));
        }
        EXPECT_EQ(switchOf(tray, "Tray"), malformed);
    }
}

TEST_F(OperationsTest, PolicyEntriesOfBothHivesAndViewsAreListedButNeverChanged) {
    std::vector<std::pair<SectionId, RegistryView>> cases = {{UserPolicyRun, RegistryView::Shared},
                                                             {MachinePolicyRun, RegistryView::Bits64}};
    if (!platform.registry.viewsShareKey(Hive::LocalMachine,
                                         "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run"))
        cases.emplace_back(MachinePolicyRun, RegistryView::Bits32);
    for (const auto& [leaf, view] : cases) {
        const RegistryValue value =
            stringValue("Mandated " + std::to_string(static_cast<int>(view)), "C:\\corp\\agent.exe");
        seedRegistry(platform, leaf, value, false, view);
        StartupEntry row = findRow(platform, leaf, value.name).value();
        EXPECT_TRUE(row.checked);
        EXPECT_EQ(cellText(row, Column::State), "Set by policy");
        EXPECT_FALSE(clickBox(platform, prompts, row));
        EXPECT_TRUE(row.checked);
        EXPECT_FALSE(deleteEntry(platform, row));
        EXPECT_FALSE(editEntry(platform, prompts, row, {"Other", "x.exe", UserRun}));
        EXPECT_EQ(platform.registry.readValue(registryKeyOf(leaf, false, view), value.name), value);
        EXPECT_FALSE(platform.registry.readValues(registryKeyOf(leaf, true, view)));
    }
    for (SectionId offered : sectionsOffered(false)) EXPECT_FALSE(section(offered).readOnly);
}

}  // namespace
}  // namespace lsu::test
