#include <gtest/gtest.h>

#include <set>

#include "catalog/Sections.h"
#include "catalog/StartupEntry.h"
#include "support/Backend.h"

namespace lsu {
namespace {

TEST(SectionCatalog, HasSeventeenUniqueKeysWithParentsBeforeChildren) {
    const auto& catalog = sectionCatalog();
    ASSERT_EQ(catalog.size(), 17u);
    std::set<std::string_view> seen;
    int leaves = 0;
    for (const auto& section : catalog) {
        if (!section.parentKey.empty()) {
            EXPECT_TRUE(seen.count(section.parentKey)) << section.key;
        }
        EXPECT_TRUE(seen.insert(section.key).second) << section.key;
        // A key is its parent's key, a backslash and one more name.
        if (!section.parentKey.empty() && section.parentKey != kRootSectionKey) {
            EXPECT_EQ(section.key.substr(0, section.parentKey.size() + 1), std::string(section.parentKey) + "\\");
        }
        leaves += section.isLeaf;
    }
    EXPECT_EQ(leaves, 11);
    EXPECT_EQ(catalog.front().key, "All Programs");
    EXPECT_TRUE(catalog.front().parentKey.empty());
}

TEST(SectionCatalog, CaptionsImagesAndDescriptionsAreAsShown) {
    struct Row {
        const char *key, *caption, *parent, *image, *selected;
    };
    const Row rows[] = {
        {"All Programs", "All", "", "cf", ""},
        {"Startup Folder", "Startup folder", "All Programs", "st", ""},
        {"Startup Folder\\All Users", "All users", "Startup Folder", "users", ""},
        {"Startup Folder\\Current User", "Current user", "Startup Folder", "user", ""},
        {"Registry", "Registry", "All Programs", "reg", ""},
        {"Registry\\All Users", "All users", "Registry", "users", ""},
        {"Registry\\All Users\\Run", "Run", "Registry\\All Users", "cf", "of"},
        {"Registry\\All Users\\Run Once", "Run once", "Registry\\All Users", "cf", "of"},
        {"Registry\\All Users\\Run Once Ex", "Run once Ex", "Registry\\All Users", "cf", "of"},
        {"Registry\\All Users\\Run Services", "Run services", "Registry\\All Users", "cf", "of"},
        {"Registry\\All Users\\Run Services Once", "Run services once", "Registry\\All Users", "cf", "of"},
        {"Registry\\Current User", "Current User", "Registry", "user", ""},
        {"Registry\\Current User\\Run", "Run", "Registry\\Current User", "cf", "of"},
        {"Registry\\Current User\\Run Once", "Run once", "Registry\\Current User", "cf", "of"},
        {"Win.ini", "Win.ini", "All Programs", "cf", ""},
        {"Win.ini\\Load", "Load", "Win.ini", "cf", "of"},
        {"Win.ini\\Run", "Run", "Win.ini", "cf", "of"},
    };
    const auto& catalog = sectionCatalog();
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(catalog[i].key, rows[i].key);
        EXPECT_EQ(catalog[i].caption, rows[i].caption);
        EXPECT_EQ(catalog[i].parentKey, rows[i].parent);
        EXPECT_EQ(catalog[i].image, rows[i].image);
        EXPECT_EQ(catalog[i].selectedImage, rows[i].selected);
    }
    EXPECT_EQ(findSection("Registry\\All Users\\Run Once Ex")->description,
              "Program that runs once(extented) at logon of all users");
    EXPECT_EQ(findSection("Registry\\Current User")->description, findSection("Registry\\Current User\\Run")->description);
    EXPECT_EQ(findSection("All Programs")->description, "All programs which load at system startup or when a user logs in");
    EXPECT_EQ(findSection("all programs"), nullptr);
    EXPECT_EQ(treeImageKeys(), (std::vector<std::string_view>{"of", "reg", "st", "user", "cf", "users"}));
}

TEST(SectionCatalog, GetHKeyLooksForAllInAnyCase) {
    EXPECT_EQ(GetHKey("registry\\all users\\run"), Hive::LocalMachine);
    EXPECT_EQ(GetHKey("Registry\\All Users\\Run Services Once"), Hive::LocalMachine);
    EXPECT_EQ(GetHKey("All Programs"), Hive::LocalMachine);
    EXPECT_EQ(GetHKey("Startup Folder\\All Users"), Hive::LocalMachine);
    EXPECT_EQ(GetHKey("Win.ini\\Run"), Hive::CurrentUser);
    EXPECT_EQ(GetHKey("Registry\\Current User\\Run Once"), Hive::CurrentUser);
    EXPECT_EQ(static_cast<std::uint32_t>(Hive::LocalMachine), 0x80000002u);
    EXPECT_EQ(static_cast<std::uint32_t>(Hive::CurrentUser), 0x80000001u);
}

TEST(SectionCatalog, GetSubKeyMatchesTheSevenRegistryLeavesExactly) {
    const std::string base = "Software\\Microsoft\\Windows\\CurrentVersion\\";
    EXPECT_EQ(GetSubKey("Registry\\All Users\\Run"), base + "Run");
    EXPECT_EQ(GetSubKey("Registry\\Current User\\Run"), base + "Run");
    EXPECT_EQ(GetSubKey("Registry\\All Users\\Run Once"), base + "RunOnce");
    EXPECT_EQ(GetSubKey("Registry\\Current User\\Run Once"), base + "RunOnce");
    EXPECT_EQ(GetSubKey("Registry\\All Users\\Run Once Ex"), base + "RunOnceEx");
    EXPECT_EQ(GetSubKey("Registry\\All Users\\Run Services"), base + "RunServices");
    EXPECT_EQ(GetSubKey("Registry\\All Users\\Run Services Once"), base + "RunServicesOnce");
    EXPECT_EQ(GetSubKey("registry\\all users\\run"), "");
    EXPECT_EQ(GetSubKey("Registry\\All Users"), "");
    EXPECT_EQ(GetSubKey("Win.ini\\Load"), "");
    for (const auto& section : registrySections()) EXPECT_EQ(GetHKey(section.key), section.hive) << section.key;
}

TEST(SectionCatalog, AddSlashEndsWithExactlyOneBackslash) {
    EXPECT_EQ(AddSlash(""), "\\");
    EXPECT_EQ(AddSlash("C:\\"), "C:\\");
    EXPECT_EQ(AddSlash("C:\\Windows"), "C:\\Windows\\");
}

TEST(SectionCatalog, WinDirHasNoTrailingBackslash) {
    auto backend = test::makeCleanBackend();
    std::string dir = WinDir(backend->platform());
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), '\\');
    EXPECT_TRUE(backend->platform().folderExists(dir));
}

TEST(EntryRows, ColumnsHaveTheirHeadersAndWidths) {
    const auto& columns = entryColumns();
    ASSERT_EQ(columns.size(), 6u);
    const std::pair<const char*, int> expected[] = {{"Name", 2000}, {"Command Line", 4000}, {"Exists", 600},
                                                    {"Section", 2500}, {"Status", 0}, {"type", 0}};
    for (std::size_t i = 0; i < columns.size(); ++i) {
        EXPECT_EQ(columns[i].header, expected[i].first);
        EXPECT_EQ(columns[i].widthTwips, expected[i].second);
    }
}

}  // namespace
}  // namespace lsu
