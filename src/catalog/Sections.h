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

#include "platform/Platform.h"

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

// A Startup folder, by its shell folder number; its disabled store is the
// folder under the program's own folder named as the section.
struct FolderSource {
    int csidl;
};

using Source = std::variant<RegistrySource, WinIniSource, FolderSource>;

// Where the entry dialog lets the user put an entry of the section.
enum class DialogOffer { Never, EditOnly, AddAndEdit };

struct Section {
    SectionId id;
    std::string_view key;      // the names from the top down joined by backslashes
    std::string_view caption;  // the tree node's text
    std::optional<SectionId> parent;
    std::string_view image;
    std::string_view selectedImage;  // empty: the node keeps its image when selected
    std::string_view description;
    std::optional<Source> source;  // leaves only
    DialogOffer offer = DialogOffer::Never;

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
// win.ini before the Startup folders, the shared folder before the user's.
const std::vector<SectionId>& leavesOf(SectionId id);

// The images of the tree, in image-list order.
const std::vector<std::string_view>& treeImageKeys();

}  // namespace lsu
