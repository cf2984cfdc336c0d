// A fixed, seeded sequence of enable, disable, delete, add and edit over
// every section, where each step is also run once for every platform call it
// makes with exactly that call failing. Whatever fails, the entries must be
// as before the step (it reported failure) or as after it (it reported
// success): nothing else lost or altered, nothing left in both places.

#include <functional>
#include <map>
#include <random>

#include "operations/EntryLocations.h"
#include "operations/EntryPlaces.h"
#include "operations/OperationsFixture.h"
#include "scanners/SectionLoading.h"

namespace lsu::test {
namespace {

using enum SectionId;

// Each listed entry by section, name, where it stands and its command
// line, with what stands at its place.
using Inventory = std::multimap<std::string, std::optional<EntryContent>>;

Inventory inventory(MemoryPlatform& platform) {
    Inventory entries;
    for (const StartupEntry& row : loadSection(platform, AllPrograms).rows) {
        const auto place = placeOfRow(platform, row, row.enabled);
        entries.emplace(cellText(row, Column::Section) + '\\' + row.name + '|' + cellText(row, Column::Status) + '|' +
                            std::to_string(static_cast<int>(row.view)) + '|' + row.commandLine,
                        place ? standing(platform, *place) : std::nullopt);
    }
    return entries;
}

void seedWorld(MemoryPlatform& platform) {
    int serial = 0;
    for (SectionId leaf : leavesOf(AllPrograms))
        for (bool disabled : {false, true}) {
            const std::string name = std::to_string(serial++) + "E", program = "C:\\" + name + ".exe";
            if (sourceAs<RegistrySource>(leaf))
                seedRegistry(platform, leaf, stringValue(" " + name, program + " /a"), disabled);
            if (!sourceAs<FolderSource>(leaf)) continue;
            const std::string path = startupFolder(platform, leaf, disabled) + "\\" + name;
            platform.putShortcut(path + ".lnk", linkTo(program, "/x"));
            platform.putFile(path + ".bat", {'@', 'e', 'c', 'h', 'o'});
        }
    seedWinIni(platform, WinIniLoad, "C:\\loadme.exe");
    seedWinIni(platform, WinIniRun, "C:\\runme.exe /r", true);
    seedRegistry(platform, MachineRun, dwordValue("Number", 7), false, RegistryView::Bits32);
    seedRegistry(platform, UserRun, stringValue("Expand", "%WINDIR%\\x.exe", kRegExpandSz));
}

using Step = std::function<bool(const SourcePorts&, UserPrompts&)>;

// One operation of the sequence on a row listed before it: its box clicked
// (twice as likely as the others), a delete, an add or an edit.
Step pickStep(std::mt19937& random, const EntryList& rows, const std::string& tag) {
    const auto offered = sectionsOffered(true);
    const SectionId other = offered[random() % offered.size()];
    const bool keepCommand = random() % 2 == 0, moveSection = random() % 3 == 0;
    const unsigned kind = rows.empty() ? 3 : random() % 5;
    const StartupEntry row = rows.empty() ? StartupEntry{} : rows[random() % rows.size()];
    if (kind < 2)
        return [row](const SourcePorts& p, UserPrompts& u) {
            auto clicked = row;
            return static_cast<bool>(clickBox(p, u, clicked));
        };
    if (kind == 2) return [row](const SourcePorts& p, UserPrompts&) { return static_cast<bool>(deleteEntry(p, row)); };
    const EntryForm added{"New" + tag, "C:\\new" + tag + ".exe -q", other};
    if (kind == 3)
        return [added](const SourcePorts& p, UserPrompts& u) { return static_cast<bool>(addEntry(p, u, added)); };
    const std::string command = keepCommand ? row.commandLine : "C:\\edit" + tag + ".exe";
    const EntryForm edited{"Ed" + tag, command, moveSection ? other : row.section};
    return
        [row, edited](const SourcePorts& p, UserPrompts& u) { return static_cast<bool>(editEntry(p, u, row, edited)); };
}

TEST(OperationsInvariant, NoFailureAtAnyCallLosesOrDuplicatesAnEntry) {
    MemoryPlatform world;
    seedWorld(world);
    std::mt19937 random(20240611u);
    int failureRuns = 0;
    for (int serial = 0; serial < 60; ++serial) {
        const Inventory before = inventory(world);
        const Step step = pickStep(random, loadSection(world, AllPrograms).rows, std::to_string(serial));

        // The first run fails nothing and counts the calls the step makes.
        MemoryPlatform next = world;
        Inventory after;
        for (int k = 0, calls = 0; k <= calls; ++k) {
            SCOPED_TRACE("step " + std::to_string(serial) + ", failing call " + std::to_string(k));
            MemoryPlatform run = world;
            int count = 0;
            run.failWhen = [&count, k](MemoryOp) { return ++count == k; };
            ScriptedPrompts prompts;
            const bool result = step(run, prompts);
            run.failWhen = nullptr;
            const Inventory state = inventory(run);
            if (k == 0) {
                calls = count;
                after = result ? state : before;
                next = run;
            }
            EXPECT_EQ(state, result ? after : before);
            failureRuns += k > 0;
        }
        world = next;
    }
    EXPECT_GT(failureRuns, 200);
}

}  // namespace
}  // namespace lsu::test
