#include <gtest/gtest.h>

#include "catalog/Sections.h"
#include "scanners/RegistryData.h"
#include "scanners/SectionLoading.h"
#include "support/Backend.h"
#include "support/Seed.h"

namespace lsu {
namespace {

using test::seedRegistry;
using test::stringValue;

class RegistryScannerTest : public ::testing::Test {
protected:
    std::unique_ptr<test::Backend> backend = test::makeCleanBackend();
    Platform& platform = backend->platform();
};

TEST_F(RegistryScannerTest, ListsEnabledValuesThenDisabledOnes) {
    const std::string_view key = "Registry\\Current User\\Run";
    // Named so that creation order and name order agree: the registry
    // enumerates in either, depending on the system.
    for (const char* name : {"a one", "b two", "c three"}) seedRegistry(platform, key, stringValue(name, "x.exe"));
    for (const char* name : {"a four", "b five"}) seedRegistry(platform, key, stringValue(name, "y.exe"), true);
    auto load = loadPrograms(platform, key);
    ASSERT_EQ(load.rows.size(), 5u);
    std::vector<std::string> names, statuses;
    for (const auto& row : load.rows) {
        names.push_back(row.Name);
        statuses.push_back(row.Status);
        EXPECT_EQ(row.Section, key);
        EXPECT_EQ(row.Type, "Reg");
        EXPECT_EQ(row.Checked, row.Status == "Enabled");
    }
    EXPECT_EQ(names, (std::vector<std::string>{"a one", "b two", "c three", "a four", "b five"}));
    EXPECT_EQ(statuses, (std::vector<std::string>{"Enabled", "Enabled", "Enabled", "Disabled", "Disabled"}));
    EXPECT_EQ(load.folderName, key);
    EXPECT_EQ(load.description, "Programs that runs at current user logon");
}

TEST_F(RegistryScannerTest, ReadsNamesDataAndTypesExactly) {
    const std::string_view key = "Registry\\Current User\\Run Once";
    const std::string longName(300, 'n');
    const std::string longData = "C:\\Tools\\" + std::string(1500, 'd') + ".exe";
    const std::vector<RegistryValue> seeded = {
        stringValue("  padded  ", "pad.exe"),
        stringValue(longName, "long-name.exe"),
        stringValue("long data", longData),
        stringValue("expand", "%SystemRoot%\\tool.exe", kRegExpandSz),
        test::dwordValue("number", 1),
        stringValue("", "default.exe"),
        stringValue("\xCE\xB5\xCE\xBB \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80", "\xCE\xB1\\\xE6\x96\x87.exe"),
    };
    for (const auto& value : seeded) seedRegistry(platform, key, value);
    auto load = loadPrograms(platform, key);
    ASSERT_EQ(load.rows.size(), seeded.size());
    for (const auto& value : seeded) {
        auto row = std::find_if(load.rows.begin(), load.rows.end(), [&](const auto& r) { return r.Name == value.name; });
        ASSERT_NE(row, load.rows.end()) << value.name;
        EXPECT_EQ(row->stored, value) << value.name;
        EXPECT_EQ(row->CommandLine, renderRegistryData(value));
    }
    auto commandLineOf = [&](const std::string& name) {
        for (const auto& row : load.rows)
            if (row.Name == name) return row.CommandLine;
        return std::string("<missing>");
    };
    EXPECT_EQ(commandLineOf("long data"), longData);
    EXPECT_EQ(commandLineOf("expand"), "%SystemRoot%\\tool.exe");
    EXPECT_EQ(commandLineOf("number"), "1");
    EXPECT_EQ(commandLineOf(""), "default.exe");
}

TEST_F(RegistryScannerTest, ReadsBothViewsOfTheMachineKeys) {
    const std::string_view key = "Registry\\All Users\\Run";
    const std::string subkey = GetSubKey(key);
    seedRegistry(platform, key, stringValue("native", "a.exe"), false, RegistryView::Bits64);
    seedRegistry(platform, key, stringValue("wow", "b.exe"), false, RegistryView::Bits32);
    seedRegistry(platform, key, stringValue("parked", "c.exe"), true, RegistryView::Bits32);
    auto load = loadPrograms(platform, key);
    if (platform.viewsShareKey(Hive::LocalMachine, subkey)) {
        ASSERT_EQ(load.rows.size(), 3u);
        for (const auto& row : load.rows) EXPECT_EQ(row.view, RegistryView::Bits64);
        return;
    }
    ASSERT_EQ(load.rows.size(), 3u);
    EXPECT_EQ(load.rows[0].Name, "native");
    EXPECT_EQ(load.rows[0].view, RegistryView::Bits64);
    EXPECT_EQ(load.rows[1].Name, "wow");
    EXPECT_EQ(load.rows[1].view, RegistryView::Bits32);
    EXPECT_EQ(load.rows[2].Name, "parked");
    EXPECT_EQ(load.rows[2].view, RegistryView::Bits32);
    EXPECT_EQ(load.rows[2].Status, "Disabled");
}

TEST_F(RegistryScannerTest, SubkeysAreNotEntries) {
    const std::string_view key = "Registry\\All Users\\Run Once Ex";
    seedRegistry(platform, key, stringValue("direct", "a.exe"));
    platform.writeValue({Hive::LocalMachine, RegistryView::Bits64, GetSubKey(key) + "\\0001"},
                        stringValue("nested", "b.exe"), true);
    auto load = loadPrograms(platform, key);
    ASSERT_EQ(load.rows.size(), 1u);
    EXPECT_EQ(load.rows[0].Name, "direct");
}

TEST_F(RegistryScannerTest, MissingKeysListNothing) {
    auto load = loadPrograms(platform, "Registry\\All Users\\Run Services Once");
    EXPECT_TRUE(load.rows.empty());
}

TEST(RegistryData, RendersEveryTypeReadably) {
    EXPECT_EQ(renderRegistryData(test::dwordValue("", 0)), "0");
    EXPECT_EQ(renderRegistryData(test::dwordValue("", 4294967295u)), "4294967295");
    EXPECT_EQ(renderRegistryData({"", kRegBinary, {0x01, 0xAB}}), "01 AB");
    EXPECT_EQ(renderRegistryData({"", kRegDword, {0x01}}), "01");
    EXPECT_EQ(renderRegistryData({"", kRegMultiSz, {'a', 0, 'b', 0, 0}}), "a b");
    EXPECT_EQ(renderRegistryData({"", kRegQword, {1, 0, 0, 0, 0, 0, 0, 1}}), "72057594037927937");
    EXPECT_EQ(renderRegistryData({"", kRegSz, {}}), "");
    EXPECT_EQ(renderRegistryData({"", kRegNone, {}}), "");
}

}  // namespace
}  // namespace lsu
