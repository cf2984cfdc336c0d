#include <gtest/gtest.h>

#include "operations/Operations.h"
#include "operations/journal/Undo.h"
#include "scanners/SectionLoading.h"
#include "support/Backend.h"
#include "support/Scratch.h"
#include "support/Seed.h"
#include "support/StartupDocuments.h"

// Packaged apps' startup tasks as Windows registers them for the user: the
// package's key naming its folder, the manifest there, and the State value
// Windows keeps for each task; read and switched alike on every platform.

namespace lsu {
namespace {

using namespace test;
using Values = std::vector<RegistryValue>;

constexpr const char* kPublisherId = "8wekyb3d8bbwe";

std::string fullNameOf(const std::string& name) { return name + "_1.2.3.0_x64__" + kPublisherId; }
std::string familyOf(const std::string& name) { return name + "_" + kPublisherId; }

class NoPrompts : public UserPrompts {
public:
    bool ask(const std::string&, const std::string&, MessageKind) override { return false; }
};

class PackagedAppContract : public BackendTest {
protected:
    Scratch scratch{platform, "packages"};
    const std::string root = scratch.subfolder("WindowsApps");

    // The task of that id, declared in its own package, with the State given (none: no value).
    std::string seedTask(const std::string& name, const std::string& taskId, std::optional<std::uint32_t> state,
                         bool manifestEnabled = true, TaskNamespace ns = TaskNamespace::Uap5) {
        const std::string folder =
            seedPackage(platform, root, fullNameOf(name),
                        packageManifest(name, startupTaskExtension(ns, taskId, "Tray\\" + taskId + ".exe",
                                                                   manifestEnabled, name + " at logon")));
        if (state)
            expectDone(platform.registry.writeValue(appTaskStateKey(familyOf(name), taskId),
                                                    dwordValue("State", *state), true),
                       "switching " + taskId);
        return folder;
    }

    StartupEntry row(const std::string& name) {
        return findRow(platform, SectionId::PackagedApps, name + " at logon").value();
    }
    Values stateValues(const std::string& name, const std::string& taskId) {
        return platform.registry.readValues(appTaskStateKey(familyOf(name), taskId)).value_or(Values{});
    }
};

TEST_F(PackagedAppContract, EachDeclaredTaskIsListedWithTheStateWindowsKeepsForIt) {
    struct Case {
        std::string name;
        std::optional<std::uint32_t> state;
        bool manifestEnabled;
        TaskNamespace ns;
        const char* shown;
        bool ticked;
    };
    const std::vector<Case> cases = {
        {"Contoso.NoStateOn", std::nullopt, true, TaskNamespace::Uap5, "Enabled", true},
        {"Contoso.NoStateOff", std::nullopt, false, TaskNamespace::Desktop, "Disabled", false},
        {"Contoso.Disabled", 0, true, TaskNamespace::Uap5, "Disabled", false},
        {"Contoso.OffByUser", 1, true, TaskNamespace::Desktop, "Disabled", false},
        {"Contoso.On", 2, false, TaskNamespace::Uap5, "Enabled", true},
        {"Contoso.OffByPolicy", 3, true, TaskNamespace::Uap5, "Set by policy", false},
        {"Contoso.OnByPolicy", 4, false, TaskNamespace::Desktop, "Set by policy", true},
    };
    for (const Case& task : cases) seedTask(task.name, "Tray", task.state, task.manifestEnabled, task.ns);
    for (const Case& task : cases) {
        const StartupEntry listed = row(task.name);
        EXPECT_EQ(cellText(listed, Column::State), task.shown) << task.name;
        EXPECT_EQ(listed.checked, task.ticked) << task.name;
        EXPECT_EQ(listed.packageFamilyName, familyOf(task.name)) << task.name;
        EXPECT_EQ(listed.taskId, "Tray") << task.name;
        EXPECT_EQ(cellText(listed, Column::Type), "App") << task.name;
    }
}

TEST_F(PackagedAppContract, TheCommandLineIsTheExecutableInThePackagesFolder) {
    const std::string folder = seedTask("Contoso.Chat", "ChatTray", std::nullopt);
    scratch.file("WindowsApps\\" + fullNameOf("Contoso.Chat") + "\\Tray\\ChatTray.exe", "MZ");
    const StartupEntry listed = row("Contoso.Chat");
    EXPECT_EQ(listed.commandLine, folder + "\\Tray\\ChatTray.exe");
    EXPECT_EQ(cellText(listed, Column::Exists), "Yes");
}

TEST_F(PackagedAppContract, AManifestThatDoesNotParseIsPassedOverAndTheOthersListed) {
    seedPackage(platform, root, fullNameOf("Contoso.Broken"), "<Package><Identity Name=\"Contoso.Broken\"");
    seedTask("Contoso.Whole", "Tray", std::nullopt);
    EXPECT_EQ(cells(loadSection(platform, SectionId::PackagedApps).rows, Column::Name),
              (Texts{"Contoso.Whole at logon"}));
}

// Ticking writes what Windows writes when the user switches the task on,
// clearing what it writes when the user switches it off; nothing else.
TEST_F(PackagedAppContract, SwitchingWritesExactlyTheStateValue) {
    seedTask("Contoso.Sync", "Sync", std::nullopt, false);
    NoPrompts prompts;
    StartupEntry listed = row("Contoso.Sync");
    for (const auto& [tick, state] : {std::pair{true, 2u}, std::pair{false, 1u}, std::pair{true, 2u}}) {
        listed.checked = tick;
        ASSERT_TRUE(applyCheckState(platform, prompts, listed)) << state;
        EXPECT_EQ(stateValues("Contoso.Sync", "Sync"), Values{dwordValue("State", state)});
        EXPECT_EQ(row("Contoso.Sync").checked, tick) << state;
    }
}

TEST_F(PackagedAppContract, WhatPolicySetsOrThePackageKeepsIsRefusedWithNothingChanged) {
    seedTask("Contoso.Locked", "Tray", 3);
    seedTask("Contoso.Kept", "Tray", 2);
    NoPrompts prompts;
    StartupEntry locked = row("Contoso.Locked");
    locked.checked = true;
    const ChangeResult switched = applyCheckState(platform, prompts, locked);
    ASSERT_FALSE(switched);
    EXPECT_EQ(switched.error().kind, ErrorKind::RefusedByPolicy);
    EXPECT_FALSE(locked.checked);
    const StartupEntry kept = row("Contoso.Kept");
    const ChangeResult deleted = deleteEntry(platform, kept);
    ASSERT_FALSE(deleted);
    EXPECT_EQ(deleted.error().kind, ErrorKind::NotOffered);
    EXPECT_EQ(stateValues("Contoso.Locked", "Tray"), Values{dwordValue("State", 3)});
    EXPECT_EQ(stateValues("Contoso.Kept", "Tray"), Values{dwordValue("State", 2)});
    EXPECT_TRUE(findRow(platform, SectionId::PackagedApps, "Contoso.Kept at logon"));
}

// Group policy may take a task over after it was listed: the switch is
// looked at again before it is written.
TEST_F(PackagedAppContract, ATaskPolicyTookOverSinceItWasListedIsRefused) {
    seedTask("Contoso.Taken", "Tray", 2);
    StartupEntry listed = row("Contoso.Taken");
    expectDone(
        platform.registry.writeValue(appTaskStateKey(familyOf("Contoso.Taken"), "Tray"), dwordValue("State", 4), false),
        "handing the task to policy");
    NoPrompts prompts;
    listed.checked = false;
    const ChangeResult switched = applyCheckState(platform, prompts, listed);
    ASSERT_FALSE(switched);
    EXPECT_EQ(switched.error().kind, ErrorKind::RefusedByPolicy);
    EXPECT_EQ(stateValues("Contoso.Taken", "Tray"), Values{dwordValue("State", 4)});
}

// The journal keeps the State value as it stood, its absence and the keys a
// switch made included, and the undo puts exactly that back.
TEST_F(PackagedAppContract, SwitchingThenUndoGivesBackTheStateAsItStood) {
    seedTask("Contoso.Undo", "Tray", std::nullopt);
    seedTask("Contoso.Kept", "Tray", 1);
    ChangeJournal journal(platform.files, platform.system, "test");
    NoPrompts prompts;
    for (const auto& [name, tick] : {std::pair{"Contoso.Undo", false}, std::pair{"Contoso.Kept", true}}) {
        const auto before = platform.registry.readValues(appTaskStateKey(familyOf(name), "Tray"));
        StartupEntry listed = row(name);
        listed.checked = tick;
        ASSERT_TRUE(recordChange(
            journal, platform,
            changeTitle(tick ? ChangeAction::Enable : ChangeAction::Disable, SectionId::PackagedApps, listed.name),
            [&](const SourcePorts& ports) { return applyCheckState(ports, prompts, listed); }));
        ASSERT_NE(platform.registry.readValues(appTaskStateKey(familyOf(name), "Tray")), before) << name;
        ASSERT_TRUE(undoChange(journal, platform, std::nullopt)) << name;
        EXPECT_EQ(platform.registry.readValues(appTaskStateKey(familyOf(name), "Tray")), before) << name;
    }
}

}  // namespace
}  // namespace lsu
