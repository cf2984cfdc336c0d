// Values as Windows and damage leave them, which hivex cannot write back as
// they are: a key holding one is read whole, and any change that would
// rewrite it is refused, naming the value, with the hive untouched.

#include <gtest/gtest.h>

#include <algorithm>

#include "base/Utf16.h"
#include "cli/ExitCodes.h"
#include "offline/HiveSurgery.h"
#include "offline/OfflineFixture.h"

namespace lsu::test {
namespace {

const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kUserRun = "Registry\\Current User\\Run";

class OfflineHiveValues : public ::testing::Test {
protected:
    std::string tree = makeWindowsTree(suiteVolume().mountPoint());
    std::string hive = tree + kUserHive;

    void SetUp() override { fillHive(hive, {stringEntry(kRun, "Tool", "C:\\Tools\\tool.exe")}); }
    // A change to Tool that rewrites its key must be refused, naming the culprit, with the tree as it was.
    void expectToolKeyRefused(const std::string& culprit) {
        ASSERT_EQ(runTool(tree, {"list"}).code, cli::kExitOk);
        const auto before = snapshotOf(tree);
        const ProcessResult refused = runTool(tree, {"disable", kUserRun, "Tool"});
        EXPECT_EQ(refused.code, cli::kExitOperationFailed) << refused.out;
        EXPECT_NE(refused.out.find(culprit), std::string::npos) << refused.out;
        EXPECT_EQ(std::count(refused.out.begin(), refused.out.end(), '\n'), 1) << refused.out;
        EXPECT_EQ(snapshotOf(tree), before);
    }
};

TEST_F(OfflineHiveValues, BigDataValueIsReadWholeAndItsKeyIsNotRewritten) {
    const std::string command = "C:\\Tools\\big.exe " + std::string(400000, 'x') + "!";
    std::u16string units = utf16FromUtf8(command);
    units.push_back(u'\0');
    putBigDataValue(hive, kRun, "Big", bytesOfUtf16(units));
    EXPECT_NE(runTool(tree, {"list", kUserRun, "--format", "csv"}).out.find(command), std::string::npos);
    expectToolKeyRefused("Big");
}

TEST_F(OfflineHiveValues, NamesHivexCannotCarryKeepTheirKeyFromBeingRewritten) {
    // Stored in UTF-16 (U+0100 is beyond Latin-1), then that unit changed in place.
    const std::vector<std::uint8_t> stored = {'O', 0, 'd', 0, 'd', 0, 0x00, 0x01};
    const std::pair<std::uint8_t, std::uint8_t> oddUnits[] = {{0x00, 0x00}, {0x00, 0xD8}};  // NUL, half a pair
    for (const auto& [low, high] : oddUnits) {
        tree = makeWindowsTree(suiteVolume().mountPoint());
        hive = tree + kUserHive;
        SetUp();
        fillHive(hive, {stringEntry(kRun, "Odd\xC4\x80", "C:\\Tools\\odd.exe")});
        std::vector<std::uint8_t> odd = stored;
        odd[6] = low;
        odd[7] = high;
        replaceOnce(hive, stored, odd);
        expectToolKeyRefused("Odd");
    }
}

TEST_F(OfflineHiveValues, DamagedDataCellStopsTheMoveBeforeAnythingMoved) {
    fillHive(hive, {stringEntry(kRun, "Other", "C:\\Tools\\other.exe /with some arguments")});
    patch32(hive, valueRecordOffset(hive, kRun, "Other") + 4 + 8, 0xB708E156u);
    expectToolKeyRefused("damaged");
}

TEST_F(OfflineHiveValues, NamesOverTheRegistrysLimitAreRefusedBeforeAnythingIsWritten) {
    ASSERT_EQ(runTool(tree, {"list"}).code, cli::kExitOk);
    const std::pair<std::size_t, int> cases[] = {
        {16383, cli::kExitOk}, {20000, cli::kExitOperationFailed}, {100000, cli::kExitOperationFailed}};
    for (const auto& [length, code] : cases) {
        const auto before = fileBytes(hive);
        const std::string name(length, 'n');
        EXPECT_EQ(runTool(tree, {"add", kUserRun, name, "C:\\Tools\\long.exe"}).code, code) << length;
        if (code == cli::kExitOk) EXPECT_EQ(storedBytes(hive, kRun, name).at(0), kRegSz);
        else EXPECT_EQ(fileBytes(hive), before) << length;
    }
}

}  // namespace
}  // namespace lsu::test
