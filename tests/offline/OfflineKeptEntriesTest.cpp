// What packages and the task scheduler keep, on a Windows that is not
// running: a task cache and definition files made as the scheduler lays them
// out, read but never switched; packages' startup tasks switched in the
// profile's classes hive.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

#include "base/Utf16.h"
#include "cli/ExitCodes.h"
#include "offline/OfflineFixture.h"
#include "support/StartupDocuments.h"

namespace lsu::test {
namespace {

namespace fs = std::filesystem;

const std::string kTaskCache = "Microsoft\\Windows NT\\CurrentVersion\\Schedule\\TaskCache\\";
const std::string kAppModel = "Local Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\AppModel\\";
const std::string kUpdater = execAction("%ProgramFiles%\\Vendor\\updater.exe", "/silent");

class OfflineKeptEntries : public ::testing::Test {
protected:
    std::string tree = makeWindowsTree(suiteVolume().mountPoint());

    // A task as the scheduler registers it: its key in the cache's tree, its
    // record under its id, and its definition file, UTF-16 with a byte order mark.
    void registerTask(const std::string& path, const std::string& id, const std::string& definition,
                      const std::string& recordedPath = "") {
        fillHive(tree + kSoftwareHive,
                 {stringEntry(kTaskCache + "Tree" + path, "Id", id),
                  stringEntry(kTaskCache + "Tasks\\" + id, "Path", recordedPath.empty() ? path : recordedPath)});
        std::string file = tree + "/Windows/System32/Tasks" + path;
        std::replace(file.begin(), file.end(), '\\', '/');
        fs::create_directories(fs::path(file).parent_path());
        std::u16string units = u"\xFEFF" + utf16FromUtf8(definition);
        putBytes(file, bytesOfUtf16(units));
    }
    nlohmann::json listed(const std::string& section) {
        const ProcessResult result = runTool(tree, {"list", section, "--format", "json"});
        EXPECT_EQ(result.code, cli::kExitOk) << result.out;
        return nlohmann::json::parse(result.out);
    }
    std::vector<std::string> namesIn(const std::string& section) {
        std::vector<std::string> names;
        for (const auto& row : listed(section)) names.push_back(row.at("name"));
        return names;
    }
};

TEST_F(OfflineKeptEntries, TasksAreReadFromTheTaskCacheAndTheirDefinitionFiles) {
    registerTask("\\Vendor\\Updater", "{1B8E1F8A-0001-4A4B-9C3D-000000000001}",
                 taskDefinition(kLogonTrigger, kUpdater));
    registerTask("\\Vendor\\Suite\\Agents\\Deep", "{1B8E1F8A-0002-4A4B-9C3D-000000000002}",
                 taskDefinition(kBootTrigger, kUpdater));
    registerTask("\\Off", "{1B8E1F8A-0003-4A4B-9C3D-000000000003}", taskDefinition(kLogonTrigger, kUpdater, false));
    registerTask("\\Nightly", "{1B8E1F8A-0004-4A4B-9C3D-000000000004}", taskDefinition(kTimeTrigger, kUpdater));
    registerTask("\\Broken", "{1B8E1F8A-0005-4A4B-9C3D-000000000005}",
                 taskDefinition(kLogonTrigger, kUpdater).substr(0, 150));
    // A record that names another path is not the tree key's task.
    registerTask("\\Stray", "{1B8E1F8A-0006-4A4B-9C3D-000000000006}", taskDefinition(kLogonTrigger, kUpdater),
                 "\\Elsewhere");
    EXPECT_EQ(namesIn("Scheduled tasks\\At logon"), (std::vector<std::string>{"\\Off", "\\Vendor\\Updater"}));
    EXPECT_EQ(namesIn("Scheduled tasks\\At start-up"), (std::vector<std::string>{"\\Vendor\\Suite\\Agents\\Deep"}));
    const nlohmann::json off = listed("Scheduled tasks\\At logon").at(0);
    EXPECT_EQ(off.at("state"), "Disabled");
    EXPECT_EQ(off.at("readOnly"), true);
    EXPECT_EQ(off.at("type"), "Task");
    EXPECT_EQ(off.at("taskPath"), "\\Off");
    EXPECT_FALSE(off.contains("taskId"));
    EXPECT_EQ(off.at("commandLine"), "\"%ProgramFiles%\\Vendor\\updater.exe\" /silent");
}

TEST_F(OfflineKeptEntries, ASwitchOfATaskIsRefusedWithEveryByteAsItWas) {
    registerTask("\\Vendor\\Updater", "{1B8E1F8A-0001-4A4B-9C3D-000000000001}",
                 taskDefinition(kLogonTrigger, kUpdater));
    registerTask("\\Off", "{1B8E1F8A-0003-4A4B-9C3D-000000000003}", taskDefinition(kBootTrigger, kUpdater, false));
    const auto before = snapshotOf(tree);
    const std::vector<std::string> cases[] = {
        {"disable", "Scheduled tasks\\At logon", "\\Vendor\\Updater"},
        {"enable", "Scheduled tasks\\At start-up", "\\Off"},
        {"delete", "Scheduled tasks", "\\Off", "--yes"},
    };
    for (const auto& args : cases) {
        const ProcessResult result = runTool(tree, args);
        EXPECT_EQ(result.code, cli::kExitNotOffered) << args.front() << result.out;
        EXPECT_NE(result.out.find("task scheduler keeps"), std::string::npos) << result.out;
        EXPECT_EQ(snapshotOf(tree), before) << args.front();
    }
}

TEST_F(OfflineKeptEntries, APackagesTaskIsSwitchedInTheProfilesClassesHive) {
    const std::string fullName = "Contoso.Chat_1.2.3.0_x64__8wekyb3d8bbwe";
    fs::create_directories(tree + "/Program Files/WindowsApps/" + fullName);
    const std::string manifest = packageManifest(
        "Contoso.Chat", startupTaskExtension(TaskNamespace::Uap5, "ChatTray", "Chat\\Tray.exe", true, "Contoso Chat"));
    putBytes(tree + "/Program Files/WindowsApps/" + fullName + "/AppxManifest.xml", {manifest.begin(), manifest.end()});
    fillHive(tree + kClassesHive, {stringEntry(kAppModel + "Repository\\Packages\\" + fullName, "PackageRootFolder",
                                               "C:\\Program Files\\WindowsApps\\" + fullName)});
    const std::string stateKey = kAppModel + "SystemAppData\\Contoso.Chat_8wekyb3d8bbwe\\ChatTray";
    for (const auto& [command, state] : {std::pair{"disable", 1}, std::pair{"enable", 2}}) {
        const ProcessResult result = runTool(tree, {command, "Apps", "Contoso Chat"});
        ASSERT_EQ(result.code, cli::kExitOk) << result.out;
        EXPECT_EQ(storedBytes(tree + kClassesHive, stateKey, "State"),
                  (std::vector<std::uint8_t>{static_cast<std::uint8_t>(kRegDword), static_cast<std::uint8_t>(state), 0,
                                             0, 0}));
    }
    const nlohmann::json app = listed("Apps").at(0);
    EXPECT_EQ(app.at("state"), "Enabled");
    EXPECT_EQ(app.at("type"), "App");
    EXPECT_EQ(app.at("packageFamilyName"), "Contoso.Chat_8wekyb3d8bbwe");
    EXPECT_EQ(app.at("taskId"), "ChatTray");
    EXPECT_FALSE(app.contains("taskPath"));
    EXPECT_EQ(runTool(tree, {"delete", "Apps", "Contoso Chat", "--yes"}).code, cli::kExitNotOffered);
}

}  // namespace
}  // namespace lsu::test
