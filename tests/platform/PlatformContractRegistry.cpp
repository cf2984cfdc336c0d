#include <gtest/gtest.h>

#include <algorithm>

#include "support/Backend.h"
#include "support/Seed.h"

namespace lsu {
namespace {

using test::dwordValue;
using test::stringValue;

const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const RegistryLocation kUserRun{Hive::CurrentUser, RegistryView::Shared, kRunKey};
const RegistryLocation kMachineRun64{Hive::LocalMachine, RegistryView::Bits64, kRunKey};
const RegistryLocation kMachineRun32{Hive::LocalMachine, RegistryView::Bits32, kRunKey};

class PlatformContractRegistry : public ::testing::Test {
protected:
    std::unique_ptr<test::Backend> backend = test::makeCleanBackend();
    Platform& platform = backend->platform();

    // Writes the value, then finds it again among all values of the key.
    std::optional<RegistryValue> roundTrip(const RegistryValue& value) {
        EXPECT_TRUE(platform.writeValue(kUserRun, value, true));
        auto values = platform.readValues(kUserRun);
        if (!values) return std::nullopt;
        auto found = std::find_if(values->begin(), values->end(),
                                  [&](const RegistryValue& v) { return v.name == value.name; });
        if (found == values->end()) return std::nullopt;
        return *found;
    }
};

TEST_F(PlatformContractRegistry, NamesKeepSpacesAtBothEnds) {
    const auto value = stringValue("  padded name  ", "pad.exe");
    EXPECT_EQ(roundTrip(value), value);
    EXPECT_EQ(platform.readValue(kUserRun, "  padded name  "), value);
    EXPECT_FALSE(platform.readValue(kUserRun, "padded name"));
}

TEST_F(PlatformContractRegistry, LongNamesAreReadWhole) {
    const auto value = stringValue(std::string(300, 'n'), "long-name.exe");
    EXPECT_EQ(roundTrip(value), value);
}

TEST_F(PlatformContractRegistry, LongDataIsReadWhole) {
    const auto value = stringValue("long data", "C:\\Tools\\" + std::string(1500, 'd') + ".exe");
    EXPECT_EQ(roundTrip(value), value);
    EXPECT_EQ(platform.readValue(kUserRun, "long data"), value);
}

TEST_F(PlatformContractRegistry, ExpandableTextStaysUnexpanded) {
    const auto value = stringValue("expand", "%SystemRoot%\\tool.exe", kRegExpandSz);
    EXPECT_EQ(roundTrip(value), value);
}

TEST_F(PlatformContractRegistry, NumbersKeepTheirTypeAndRawBytes) {
    const auto number = dwordValue("number", 0x12345678u);
    ASSERT_EQ(number.data, (std::vector<std::uint8_t>{0x78, 0x56, 0x34, 0x12}));
    EXPECT_EQ(roundTrip(number), number);
    const RegistryValue binary{"binary", kRegBinary, {0x00, 0xFF, 0x00, 0x7F, 0x80}};
    EXPECT_EQ(roundTrip(binary), binary);
}

TEST_F(PlatformContractRegistry, MultiStringsKeepTheirInnerSeparators) {
    const std::string parts("first.exe\0second.exe", 20);
    const auto value = stringValue("multi", parts, kRegMultiSz);
    EXPECT_EQ(roundTrip(value), value);
}

TEST_F(PlatformContractRegistry, DefaultValueHasAnEmptyName) {
    const auto value = stringValue("", "default.exe");
    EXPECT_EQ(roundTrip(value), value);
    EXPECT_EQ(platform.readValue(kUserRun, ""), value);
}

TEST_F(PlatformContractRegistry, TextOutsideTheAnsiCodePageSurvives) {
    const std::string greek = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC";
    const std::string cjk = "\xE4\xB8\xAD\xE6\x96\x87";
    const std::string emoji = "\xF0\x9F\x98\x80";
    const auto value = stringValue(greek + " " + cjk + " " + emoji, "C:\\" + cjk + "\\" + greek + emoji + ".exe");
    EXPECT_EQ(roundTrip(value), value);
}

TEST_F(PlatformContractRegistry, MissingKeyIsNotAnEmptyKey) {
    const RegistryLocation missing{Hive::CurrentUser, RegistryView::Shared, "Software\\LStartUp Contract\\Missing"};
    EXPECT_FALSE(platform.readValues(missing));
    EXPECT_FALSE(platform.readValue(missing, "anything"));
    ASSERT_TRUE(platform.writeValue(kUserRun, stringValue("present", "x.exe"), true));
    EXPECT_FALSE(platform.readValue(kUserRun, "absent value"));
}

TEST_F(PlatformContractRegistry, WritingWithoutCreateNeedsAnExistingKey) {
    const RegistryLocation missing{Hive::CurrentUser, RegistryView::Shared, "Software\\LStartUp Contract\\Missing"};
    EXPECT_FALSE(platform.writeValue(missing, stringValue("a", "b"), false));
    EXPECT_FALSE(platform.readValues(missing));
    ASSERT_TRUE(platform.writeValue(kUserRun, stringValue("a", "b"), true));
    EXPECT_TRUE(platform.writeValue(kUserRun, stringValue("a", "c"), false));
    EXPECT_EQ(platform.readValue(kUserRun, "a"), stringValue("a", "c"));
}

TEST_F(PlatformContractRegistry, DeleteRemovesOnlyThatValue) {
    ASSERT_TRUE(platform.writeValue(kUserRun, stringValue("keep", "keep.exe"), true));
    ASSERT_TRUE(platform.writeValue(kUserRun, stringValue("drop", "drop.exe"), true));
    EXPECT_TRUE(platform.deleteValue(kUserRun, "drop"));
    EXPECT_FALSE(platform.readValue(kUserRun, "drop"));
    EXPECT_TRUE(platform.readValue(kUserRun, "keep"));
    EXPECT_FALSE(platform.deleteValue(kUserRun, "drop"));
}

TEST_F(PlatformContractRegistry, MachineKeysHaveTwoViewsAndUserKeysOne) {
    EXPECT_FALSE(platform.viewsShareKey(Hive::LocalMachine, kRunKey));
    EXPECT_TRUE(platform.viewsShareKey(Hive::CurrentUser, kRunKey));
}

TEST_F(PlatformContractRegistry, EachMachineViewHoldsItsOwnValues) {
    ASSERT_TRUE(platform.writeValue(kMachineRun32, stringValue("thirty-two", "wow.exe"), true));
    ASSERT_TRUE(platform.writeValue(kMachineRun64, stringValue("sixty-four", "native.exe"), true));
    EXPECT_TRUE(platform.readValue(kMachineRun32, "thirty-two"));
    EXPECT_FALSE(platform.readValue(kMachineRun64, "thirty-two"));
    EXPECT_TRUE(platform.readValue(kMachineRun64, "sixty-four"));
    EXPECT_FALSE(platform.readValue(kMachineRun32, "sixty-four"));
    EXPECT_FALSE(platform.viewsShareKey(Hive::LocalMachine, kRunKey));
}

}  // namespace
}  // namespace lsu
