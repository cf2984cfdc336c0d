#include <gtest/gtest.h>

#include <algorithm>

#include "catalog/ParkedServices.h"
#include "operations/Operations.h"
#include "scanners/SectionLoading.h"
#include "support/Backend.h"
#include "support/FixedAnswers.h"
#include "support/Seed.h"

// Services as the system keeps them, listed, switched off and on again, on
// every platform alike.

namespace lsu {
namespace {

using namespace test;
using enum SectionId;

ServiceConfig serviceOf(const std::string& name, std::uint32_t startType, bool delayed = false) {
    ServiceConfig service;
    service.name = name;
    service.displayName = name + " shown";
    service.type = kServiceOwnProcess;
    service.startType = startType;
    service.delayed = delayed;
    service.imagePath = "\"C:\\Program Files\\LsuTest\\" + name + ".exe\" -service";
    return service;
}

ServiceConfig sharedServiceOf(const std::string& name) {
    ServiceConfig service = serviceOf(name, kServiceAutoStart);
    service.type = kServiceShareProcess;
    service.imagePath = "%SystemRoot%\\system32\\svchost.exe -k LsuTest";
    service.serviceDll = "C:\\Program Files\\LsuTest\\" + name + ".dll";
    return service;
}

// The test's own services among those the system lists.
std::vector<ServiceConfig> ownServices(const ScanPorts& platform) {
    auto listed = platform.services.listServices();
    if (!listed) ADD_FAILURE() << listed.error().message;
    std::vector<ServiceConfig> own;
    for (ServiceConfig& service : listed ? *listed : std::vector<ServiceConfig>{})
        if (service.name.starts_with("LsuTest")) own.push_back(std::move(service));
    std::sort(own.begin(), own.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return own;
}

EntryList ownRows(const ScanPorts& platform, SectionId leaf) {
    EntryList own;
    for (StartupEntry& row : loadSection(platform, leaf).rows)
        if (row.name.starts_with("LsuTest")) own.push_back(std::move(row));
    // Each system hands its services out in an order of its own.
    std::stable_sort(own.begin(), own.end(), [](const auto& a, const auto& b) {
        return std::tie(a.section, a.name) < std::tie(b.section, b.name);
    });
    return own;
}

// The record's values by name: some registries hand values out sorted.
std::optional<std::vector<RegistryValue>> recordOf(const ScanPorts& platform, const std::string& name) {
    auto values = platform.registry.readValues(parkedRecordKey(name));
    if (values) std::sort(values->begin(), values->end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return values;
}

using ServicesContract = BackendTest;

TEST_F(ServicesContract, AServiceThatIsNotThereIsNotFound) {
    EXPECT_EQ(platform.services.readService("LsuTestMissing").error().kind, ErrorKind::NotFound);
    EXPECT_FALSE(platform.services.setServiceStart("LsuTestMissing", kServiceDisabled, false));
}

TEST_F(ServicesContract, StartTypeAndDelayedStartChangeAsAsked) {
    ServiceConfig service = serviceOf("LsuTestChanged", kServiceAutoStart, true);
    backend->seedService(service);
    const std::pair<std::uint32_t, bool> steps[] = {
        {kServiceDisabled, true}, {kServiceAutoStart, true}, {kServiceAutoStart, false}, {kServiceAutoStart, true}};
    for (const auto& [startType, delayed] : steps) {
        ASSERT_TRUE(platform.services.setServiceStart(service.name, startType, delayed));
        std::tie(service.startType, service.delayed) = std::pair(startType, startType == kServiceAutoStart && delayed);
        EXPECT_EQ(platform.services.readService(service.name), service) << startType << " " << delayed;
    }
}

// Every Win32 service is read with how it starts; only those that start
// with Windows are listed, each in its leaf.
TEST_F(ServicesContract, ListsEveryServiceThatStartsWithWindowsInItsLeaf) {
    const std::vector<ServiceConfig> seeded = {
        serviceOf("LsuTestAutomatic", kServiceAutoStart), serviceOf("LsuTestDelayed", kServiceAutoStart, true),
        serviceOf("LsuTestDisabled", kServiceDisabled), serviceOf("LsuTestManual", kServiceDemandStart),
        sharedServiceOf("LsuTestShared")};
    for (const ServiceConfig& service : seeded) backend->seedService(service);
    EXPECT_EQ(ownServices(platform), seeded);
    for (const ServiceConfig& service : seeded) EXPECT_EQ(platform.services.readService(service.name), service);
    const EntryList all = ownRows(platform, AllPrograms);
    EXPECT_EQ(cells(all, Column::Name),
              (Texts{"LsuTestAutomatic shown (LsuTestAutomatic)", "LsuTestShared shown (LsuTestShared)",
                     "LsuTestDelayed shown (LsuTestDelayed)"}));
    EXPECT_EQ(cells(all, Column::Section),
              (Texts{"Services\\Automatic", "Services\\Automatic", "Services\\Automatic (delayed)"}));
    EXPECT_EQ(fieldOf(all, &StartupEntry::checked), std::vector<bool>(3, true));
    EXPECT_EQ(fieldOf(all, &StartupEntry::commandLine),
              (Texts{seeded[0].imagePath, seeded[4].imagePath, seeded[1].imagePath}));
}

TEST_F(ServicesContract, SwitchingOffAndOnAgainRestoresExactlyHowTheServiceStarted) {
    AnswerYes prompts;
    for (const auto& [service, leaf] :
         {std::pair(serviceOf("LsuTestDelayed", kServiceAutoStart, true), ServicesDelayed),
          std::pair(sharedServiceOf("LsuTestShared"), ServicesAutomatic)}) {
        SCOPED_TRACE(service.name);
        backend->seedService(service);
        StartupEntry row = ownRows(platform, leaf).at(0);
        row.checked = false;
        ASSERT_TRUE(applyCheckState(platform, prompts, row));
        EXPECT_EQ(platform.services.readService(service.name)->startType, kServiceDisabled);
        EXPECT_EQ(
            recordOf(platform, service.name),
            (std::vector<RegistryValue>{dwordValue("DelayedAutostart", service.delayed), dwordValue("Start", 2)}));
        const EntryList parked = ownRows(platform, leaf);
        ASSERT_EQ(parked.size(), 1u);
        EXPECT_EQ(std::tuple(cellText(parked[0], Column::Status), parked[0].checked), std::tuple("Disabled", false));

        row = parked[0];
        row.checked = true;
        ASSERT_TRUE(applyCheckState(platform, prompts, row));
        EXPECT_EQ(platform.services.readService(service.name), service);
        EXPECT_FALSE(recordOf(platform, service.name));
    }
}

// Someone else switched the service on again: the record is not the truth
// any more, and it stays for the user to see.
TEST_F(ServicesContract, ARecordIsKeptWhenTheServiceChangedSinceItWasListed) {
    AnswerYes prompts;
    backend->seedService(serviceOf("LsuTestMoved", kServiceAutoStart));
    StartupEntry row = ownRows(platform, ServicesAutomatic).at(0);
    row.checked = false;
    ASSERT_TRUE(applyCheckState(platform, prompts, row));
    row.checked = true;
    ASSERT_TRUE(platform.services.setServiceStart("LsuTestMoved", kServiceDemandStart, false));
    EXPECT_FALSE(applyCheckState(platform, prompts, row));
    EXPECT_TRUE(recordOf(platform, "LsuTestMoved"));
    EXPECT_EQ(platform.services.readService("LsuTestMoved")->startType, kServiceDemandStart);
}

}  // namespace
}  // namespace lsu
