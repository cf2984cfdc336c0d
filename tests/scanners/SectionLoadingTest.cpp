#include <gtest/gtest.h>

#include <map>

#include "catalog/Sections.h"
#include "scanners/SectionLoading.h"
#include "support/Backend.h"
#include "support/Seed.h"

namespace lsu {
namespace {

// One enabled entry in every leaf section, each named after its section.
void seedEveryLeaf(test::Backend& backend) {
    Platform& platform = backend.platform();
    for (const auto& section : registrySections())
        test::seedRegistry(platform, section.key, test::stringValue(std::string(section.key), "x.exe"));
    test::seedWinIni(platform, "Load", "C:\\Win.ini\\Load");
    test::seedWinIni(platform, "Run", "C:\\Win.ini\\Run");
    for (std::string_view key : {kStartupAllUsers, kStartupCurrentUser}) {
        std::string folder = test::startupFolder(platform, key);
        platform.writeFile(folder + "\\" + std::string(key.substr(key.find('\\') + 1)) + ".bat", {'x'});
    }
}

std::vector<std::string> sectionsOfRows(const SectionLoad& load) {
    std::vector<std::string> sections;
    for (const auto& row : load.rows) sections.push_back(row.Section);
    return sections;
}

TEST(SectionLoading, EverySectionRunsItsScannersInOrder) {
    auto backend = test::makeCleanBackend();
    seedEveryLeaf(*backend);
    const std::vector<std::string> registry = {
        "Registry\\Current User\\Run",      "Registry\\Current User\\Run Once",       "Registry\\All Users\\Run",
        "Registry\\All Users\\Run Once",    "Registry\\All Users\\Run Once Ex",       "Registry\\All Users\\Run Services",
        "Registry\\All Users\\Run Services Once"};
    const std::vector<std::string> winIni = {"Win.ini\\Load", "Win.ini\\Run"};
    const std::vector<std::string> folders = {"Startup Folder\\All Users", "Startup Folder\\Current User"};
    auto join = [](std::initializer_list<std::vector<std::string>> parts) {
        std::vector<std::string> all;
        for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    std::map<std::string, std::vector<std::string>> expected = {
        {"All Programs", join({registry, winIni, folders})},
        {"Startup Folder", folders},
        {"Registry", registry},
        {"Registry\\All Users", std::vector<std::string>(registry.begin() + 2, registry.end())},
        {"Registry\\Current User", std::vector<std::string>(registry.begin(), registry.begin() + 2)},
        {"Win.ini", winIni},
    };
    for (const auto& section : sectionCatalog())
        if (section.isLeaf) expected[std::string(section.key)] = {std::string(section.key)};
    ASSERT_EQ(expected.size(), 17u);

    for (const auto& [key, sections] : expected) {
        auto load = loadPrograms(backend->platform(), key);
        EXPECT_EQ(sectionsOfRows(load), sections) << key;
        EXPECT_EQ(load.folderName, key);
        EXPECT_EQ(load.description, std::string(findSection(key)->description));
        for (const auto& row : load.rows) EXPECT_TRUE(row.Checked) << key << ": " << row.Name;
    }
}

TEST(SectionLoading, UnknownKeyListsNothingAndHasNoDescription) {
    auto backend = test::makeCleanBackend();
    seedEveryLeaf(*backend);
    auto load = loadPrograms(backend->platform(), "all programs");
    EXPECT_TRUE(load.rows.empty());
    EXPECT_EQ(load.folderName, "all programs");
    EXPECT_FALSE(load.description.has_value());
}

TEST(SectionLoading, TickPassChecksOnlyEnabledRows) {
    EntryList rows(3);
    rows[0].Status = "Enabled";
    rows[1].Status = "Disabled";
    rows[2].Status = "";
    tickEnabledRows(rows);
    EXPECT_TRUE(rows[0].Checked);
    EXPECT_FALSE(rows[1].Checked);
    EXPECT_FALSE(rows[2].Checked);
}

}  // namespace
}  // namespace lsu
