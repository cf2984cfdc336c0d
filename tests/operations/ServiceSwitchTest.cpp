#include "catalog/ParkedServices.h"
#include "operations/OperationsFixture.h"
#include "operations/Questions.h"
#include "operations/ServiceSwitch.h"
#include "scanners/SectionLoading.h"

namespace lsu::test {
namespace {

using enum SectionId;

const ServiceConfig kSyncService{"Sync",
                                 "Sync Helper",
                                 kServiceOwnProcess,
                                 kServiceAutoStart,
                                 true,
                                 "\"C:\\Program Files\\Sync\\sync.exe\" /service",
                                 ""};

class ServiceSwitchTest : public RefusingSystemTest {
protected:
    ServiceSwitchTest() { seedServiceKey(platform, kSyncService); }

    StartupEntry listedRow() { return findRow(platform, ServicesDelayed, kSyncService.name).value(); }
    std::uint32_t startType() { return platform.readService(kSyncService.name)->startType; }
    bool recorded() { return platform.readValues(parkedRecordKey(kSyncService.name)).has_value(); }
    Click switchOff() {
        StartupEntry row = listedRow();
        return clickBox(platform, prompts, row);
    }
};

// Whatever step fails, the service keeps starting as it did and no record
// is left that does not stand for a switched-off service.
TEST_F(ServiceSwitchTest, AFailedSwitchOffLeavesTheServiceAndNoRecord) {
    const std::pair<MemoryOp, std::string> failures[] = {
        {MemoryOp::RegistryWrite, "The request could not be performed because of an I/O device error."},
        {MemoryOp::ServiceChange, "Access is denied."}};
    for (const auto& [failing, reason] : failures) {
        SCOPED_TRACE(static_cast<int>(failing));
        platform.failWhen = [failing = failing](MemoryOp op) { return op == failing; };
        const Click click = switchOff();
        platform.failWhen = nullptr;
        ASSERT_FALSE(click);
        EXPECT_EQ(click.result.error().message, reason);
        EXPECT_EQ(startType(), kServiceAutoStart);
        EXPECT_FALSE(recorded());
    }
}

TEST_F(ServiceSwitchTest, OneOfWindowsOwnIsSwitchedOffOnlyOnTheUsersYes) {
    StartupEntry row = listedRow();
    row.windowsOwn = true;
    const std::string question = windowsServiceQuestion(row);
    EXPECT_NE(question.find("may not start or work properly"), std::string::npos);
    for (bool yes : {false, true}) {
        prompts.answer = yes;
        StartupEntry clicked = row;
        EXPECT_EQ(static_cast<bool>(clickBox(platform, prompts, clicked)), yes);
        EXPECT_EQ(startType(), yes ? kServiceDisabled : kServiceAutoStart);
        EXPECT_EQ(recorded(), yes);
    }
    EXPECT_EQ(prompts.questions, std::vector<Question>(2, Question{question, kAppTitle, MessageKind::Exclamation}));
}

// A record this program cannot read as its own, or whose service is gone,
// stays listed and is never removed by switching the service on.
TEST_F(ServiceSwitchTest, ARecordThatCannotBeRestoredIsListedAndKept) {
    ASSERT_TRUE(switchOff());
    const RegistryLocation record = parkedRecordKey(kSyncService.name);
    ASSERT_TRUE(platform.writeValue(record, stringValue("Start", "2"), false));
    StartupEntry damaged = findRow(platform, ServicesAutomatic, kSyncService.name).value();
    EXPECT_EQ(cellText(damaged, Column::Status), "Disabled");
    EXPECT_EQ(clickBox(platform, prompts, damaged).result.error().kind, ErrorKind::DamagedData);
    EXPECT_EQ(startType(), kServiceDisabled);
    EXPECT_TRUE(recorded());

    ASSERT_TRUE(platform.writeValue(record, dwordValue("Start", kServiceAutoStart), false));
    ASSERT_TRUE(platform.deleteValue(
        {Hive::LocalMachine, RegistryView::Bits64, std::string(kServicesKey) + "\\" + kSyncService.name}, "Type"));
    StartupEntry orphan = findRow(platform, ServicesDelayed, kSyncService.name).value();
    EXPECT_EQ(std::tuple(cellText(orphan, Column::Exists), cellText(orphan, Column::Status)),
              std::tuple("No", "Disabled"));
    EXPECT_FALSE(clickBox(platform, prompts, orphan));
    EXPECT_TRUE(recorded());
}

}  // namespace
}  // namespace lsu::test
