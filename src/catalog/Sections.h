#pragma once
// The fixed catalog of sections: every place Windows starts programs from is
// one leaf, and the groups above them stand for the union of their leaves.
// The tree the folder pane shows, the order sections are read in, where each
// leaf's entries live and where its disabled ones are parked all follow from
// the two tables behind this header.

#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/Registry.h"
#include "platform/SystemFacts.h"

namespace lsu {

enum class SectionId {
    AllPrograms,
    StartupFolder,
    StartupAllUsers,
    StartupCurrentUser,
    Registry,
    RegistryAllUsers,
    MachineRun,
    MachineRunOnce,
    MachineRunOnceEx,
    MachineRunServices,
    MachineRunServicesOnce,
    RegistryCurrentUser,
    UserRun,
    UserRunOnce,
    WinIni,
    WinIniLoad,
    WinIniRun,
    MachinePolicyRun,
    UserPolicyRun,
    ServicesGroup,
    ServicesAutomatic,
    ServicesDelayed,
    PackagedApps,
    ScheduledTasks,
    TasksAtLogon,
    TasksAtStartup,
};

// Which registry views a leaf's key is read in. The current user's keys are
// one key for every program; the machine's exist once per view on 64-bit
// Windows, and Windows starts the entries of both.
enum class ViewRule { Shared, BothViews };

// A Run-type key; its disabled store is the key of the same name with "-"
// appended, in the same hive.
struct RegistrySource {
    Hive hive;
    ViewRule views;
    std::string_view subkey;
};

// A key of win.ini's "Windows" section; its disabled store is the same key
// of "SM_Disabled".
struct WinIniSource {
    std::string_view key;
};

// A Startup folder of the shell; its disabled store is the folder under the
// program's own folder named as the section.
struct FolderSource {
    ShellFolder folder;
};

// The Win32 services the service manager starts automatically, at once or
// (delayed) a while after the others; a service this program switched off
// stays listed in its leaf from the record of how it started.
struct ServiceSource {
    bool delayed;
};

// Packaged apps' startup tasks, which their packages declare in their
// manifests: the user's packages are the subkeys of `packages` (in the
// current user's hive), each naming its folder; a task's switch is the
// State value of the key <package family name>\<task id> below `switches`.
struct PackagedAppSource {
    std::string_view packages;
    std::string_view switches;
};

// When a scheduled task's trigger starts its program by itself.
enum class TaskStart { AtLogon, AtStartup };

// The task scheduler's tasks that start a program at that time.
struct ScheduledTaskSource {
    TaskStart start;
};

using Source =
    std::variant<RegistrySource, WinIniSource, FolderSource, ServiceSource, PackagedAppSource, ScheduledTaskSource>;

// Where the entry dialog lets the user put an entry of the section.
enum class DialogOffer { Never, EditOnly, AddAndEdit };

// Windows' own switch for each entry of a leaf (the Startup page of its
// settings): a value per entry, named as the entry, in a key of the hive
// given, read in the 64-bit view; the machine's 32-bit Run values have a key
// of their own. Windows does not start an entry whose switch is off, but
// leaves it where it stands.
struct StartupSwitches {
    Hive hive;
    std::string_view subkey;
    std::string_view subkey32;  // empty where the leaf has one view only
};

struct Section {
    SectionId id;
    std::string_view key;      // the names from the top down joined by backslashes
    std::string_view caption;  // the tree node's text
    std::optional<SectionId> parent;
    std::string_view description;
    std::optional<Source> source;  // leaves only
    DialogOffer offer = DialogOffer::Never;
    std::optional<StartupSwitches> switches;
    // Group policy writes these entries and writes them again: changes made
    // here would not last, so none are offered. They have no disabled store.
    bool readOnly = false;
    // The entries belong to what declares them (a package, the task
    // scheduler, the service manager), which keeps them: they are switched
    // on and off where Windows keeps their switch, never parked, deleted or
    // edited here.
    // Says why; nullptr for every other leaf.
    const char* keptBy = nullptr;

    bool isLeaf() const { return source.has_value(); }
};

const Section& section(SectionId id);

// The leaf's source when it is of that kind; nullptr for other leaves and groups.
template <typename Kind>
const Kind* sourceAs(SectionId id) {
    const Section& found = section(id);
    return found.source ? std::get_if<Kind>(&*found.source) : nullptr;
}
// Exactly as written, or ignoring case as Windows compares names.
std::optional<SectionId> findSection(std::string_view key);
std::optional<SectionId> findSectionIgnoringCase(std::string_view key);

// Every section, parents before their children, as the tree shows them.
const std::vector<SectionId>& sectionTree();
// The leaves a section stands for, in the order they are read: the current
// user's registry keys before the machine's, the registry before win.ini,
// win.ini before the Startup folders, the shared folder before the user's,
// and last what others keep: packaged apps, services and, slowest to read,
// scheduled tasks.
const std::vector<SectionId>& leavesOf(SectionId id);

}  // namespace lsu
