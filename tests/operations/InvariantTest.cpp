// A fixed, seeded sequence of enable, disable, delete, add and edit over
// every section, where each step is also run once for every platform call it
// makes with exactly that call failing. Whatever fails, the entries must be
// as before the step (it reported failure) or as after it (it reported
// success): nothing else lost or altered, nothing left in both places.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "catalog/DisabledStores.h"
#include "catalog/Sections.h"
#include "operations/Operations.h"
#include "operations/RowPlaces.h"
#include "operations/ScriptedPrompts.h"
#include "platform/memory/MemoryPlatform.h"
#include "scanners/SectionLoading.h"
#include "support/Seed.h"

namespace lsu {
namespace {

// One stored entry: where it is listed, and exactly what is stored.
using Stored = std::tuple<std::string, std::string, std::string, std::string, std::string>;

std::vector<Stored> inventory(MemoryPlatform& platform) {
    std::vector<Stored> entries;
    for (const auto& row : loadPrograms(platform, kRootSectionKey).rows) {
        std::string content;
        if (row.Type == kTypeReg) {
            content = std::to_string(row.stored.type) + ":" + std::string(row.stored.data.begin(), row.stored.data.end());
        } else if (auto place = placeOfRow(platform, row, row.Status == kStatusEnabled)) {
            if (auto* file = std::get_if<FilePlace>(&*place)) {
                auto bytes = platform.readFile(file->path);
                content = bytes ? std::string(bytes->begin(), bytes->end()) : "unreadable";
            }
        }
        entries.emplace_back(row.Section, row.Name, row.CommandLine, row.Status, content);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

bool eachNameOnce(const std::vector<Stored>& entries) {
    for (std::size_t i = 1; i < entries.size(); ++i)
        if (std::get<0>(entries[i]) == std::get<0>(entries[i - 1]) && std::get<1>(entries[i]) == std::get<1>(entries[i - 1]))
            return false;
    return true;
}

void seedWorld(MemoryPlatform& platform) {
    ensureDisabledItemsFolders(platform);
    int n = 0;
    for (const auto& section : registrySections()) {
        for (bool disabled : {false, true}) {
            const std::string name = "Reg" + std::to_string(n++);
            test::seedRegistry(platform, section.key, test::stringValue(" " + name, "C:\\" + name + ".exe /a"), disabled);
        }
        if (section.hive == Hive::LocalMachine)
            test::seedRegistry(platform, section.key, test::dwordValue("Num" + std::to_string(n++), 7), false,
                               RegistryView::Bits32);
    }
    test::seedRegistry(platform, "Registry\\Current User\\Run",
                       test::stringValue("Expand", "%WINDIR%\\x.exe", kRegExpandSz));
    test::seedWinIni(platform, kWinIniLoadKey, "C:\\loadme.exe");
    test::seedWinIni(platform, kWinIniRunKey, "C:\\runme.exe /r", true);
    for (std::string_view section : {kStartupAllUsers, kStartupCurrentUser}) {
        for (bool disabled : {false, true}) {
            const std::string folder = test::startupFolder(platform, section, disabled);
            const std::string name = "F" + std::to_string(n++);
            ShortcutFields link;
            link.targetPath = "C:\\" + name + ".exe";
            link.arguments = "/x";
            link.workDir = "C:\\";
            platform.putShortcut(folder + "\\" + name + ".lnk", link);
            platform.putFile(folder + "\\" + name + ".bat", {'@', 'e', 'c', 'h', 'o'});
        }
    }
}

class Step {
public:
    Step(std::mt19937& random, const EntryList& rows, int serial) : serial_(serial) {
        kind_ = rows.empty() ? 3 : static_cast<int>(random() % 5);
        if (!rows.empty()) row_ = rows[random() % rows.size()];
        const auto adds = dialogSections(true);
        addSection_ = adds[random() % adds.size()];
        keepCommand_ = random() % 2 == 0;
        moveSection_ = random() % 3 == 0;
    }

    bool run(Platform& platform, UserPrompts& prompts) const {
        StartupEntry row = row_;
        const std::string tag = std::to_string(serial_);
        switch (kind_) {
            case 0:
            case 1: row.Checked = !row.Checked; return EnabledDisableProgram(platform, prompts, row);
            case 2: return DeleteProgram(platform, prompts, row);
            case 3: return AddNew(platform, prompts, {"New" + tag, "C:\\new" + tag + ".exe -q", addSection_});
            default: {
                const bool winIni = row.Section == kWinIniLoad || row.Section == kWinIniRun;
                // Into win.ini only where the line stays: its one slot may be taken.
                const std::string section = moveSection_ && !winIni ? addSection_ : row.Section;
                const std::string command = keepCommand_ ? row.CommandLine : "C:\\edit" + tag + ".exe";
                return EditEntry(platform, prompts, row, {"Ed" + tag, command, section});
            }
        }
    }
    bool deletes() const { return kind_ == 2; }

private:
    int serial_;
    int kind_;
    StartupEntry row_;
    std::string addSection_;
    bool keepCommand_, moveSection_;
};

TEST(OperationsInvariant, NoFailureAtAnyCallLosesOrDuplicatesAnEntry) {
    MemoryPlatform world;
    seedWorld(world);
    std::mt19937 random(20240611u);
    int failureRuns = 0;
    for (int serial = 0; serial < 60; ++serial) {
        const auto before = inventory(world);
        ASSERT_TRUE(eachNameOnce(before));
        const Step step(random, loadPrograms(world, kRootSectionKey).rows, serial);

        MemoryPlatform clean = world;
        int calls = 0;
        clean.failWhen = [&calls](MemoryOp) { return ++calls, false; };
        test::ScriptedPrompts cleanPrompts;
        const bool cleanResult = step.run(clean, cleanPrompts);
        clean.failWhen = nullptr;
        const auto after = inventory(clean);
        if (!cleanResult) {
            EXPECT_EQ(after, before) << "step " << serial;
        }

        for (int k = 1; k <= calls; ++k) {
            MemoryPlatform broken = world;
            int count = 0;
            broken.failWhen = [&count, k](MemoryOp) { return ++count == k; };
            test::ScriptedPrompts prompts;
            const bool result = step.run(broken, prompts);
            broken.failWhen = nullptr;
            const auto state = inventory(broken);
            ++failureRuns;
            if (!result) {
                EXPECT_EQ(state, before) << "step " << serial << " failing call " << k;
            } else if (step.deletes()) {
                EXPECT_TRUE(state == after || state == before) << "step " << serial << " failing call " << k;
            } else {
                EXPECT_EQ(state, after) << "step " << serial << " failing call " << k;
            }
            EXPECT_TRUE(eachNameOnce(state));
        }
        world = clean;
    }
    EXPECT_GT(failureRuns, 200);
}

}  // namespace
}  // namespace lsu
