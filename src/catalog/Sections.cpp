#include "catalog/Sections.h"

#include "base/CaseFolding.h"

namespace lsu {

namespace {

using enum SectionId;

Section group(SectionId id, std::string_view key, std::string_view caption, std::optional<SectionId> parent,
              std::string_view description) {
    Section made;
    made.id = id;
    made.key = key;
    made.caption = caption;
    made.parent = parent;
    made.description = description;
    return made;
}

Section leaf(SectionId id, std::string_view key, std::string_view caption, SectionId parent,
             std::string_view description, Source source, DialogOffer offer) {
    Section made = group(id, key, caption, parent, description);
    made.source = source;
    made.offer = offer;
    return made;
}

// The groups, in the order the tree shows them.
const std::vector<Section>& groups() {
    static const std::vector<Section> table = {
        group(AllPrograms, "All Programs", "All", std::nullopt,
              "All programs which load at system startup or when a user logs in"),
        group(StartupFolder, "Startup Folder", "Startup folder", AllPrograms,
              "Programs listed in Startup Folder of start menu"),
        group(Registry, "Registry", "Registry", AllPrograms, "Program listed in Windows registry"),
        group(RegistryAllUsers, "Registry\\All Users", "All users", Registry, "Program runs at Windows Startup"),
        group(RegistryCurrentUser, "Registry\\Current User", "Current User", Registry,
              "Programs that runs at current user logon"),
        group(WinIni, "Win.ini", "Win.ini", AllPrograms, "Programs run from Win.ini"),
        group(ServicesGroup, "Services", "Services", AllPrograms, "Services that Windows starts by itself"),
        group(ScheduledTasks, "Scheduled tasks", "Scheduled tasks", AllPrograms,
              "Programs the task scheduler starts at logon or at start-up"),
    };
    return table;
}

constexpr std::string_view kApproved = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";

Section registryLeaf(SectionId id, std::string_view key, std::string_view caption, SectionId parent,
                     std::string_view description, Hive hive, std::string_view subkey) {
    const ViewRule views = hive == Hive::CurrentUser ? ViewRule::Shared : ViewRule::BothViews;
    return leaf(id, key, caption, parent, description, RegistrySource{hive, views, subkey}, DialogOffer::AddAndEdit);
}

// The Run keys are the registry keys Windows' startup switches cover.
Section runLeaf(SectionId id, std::string_view key, SectionId parent, std::string_view description, Hive hive) {
    Section run =
        registryLeaf(id, key, "Run", parent, description, hive, "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    static const std::string subkey = std::string(kApproved) + "Run", subkey32 = std::string(kApproved) + "Run32";
    run.switches = StartupSwitches{hive, subkey, hive == Hive::LocalMachine ? std::string_view(subkey32) : ""};
    return run;
}

Section policyLeaf(SectionId id, std::string_view key, SectionId parent, std::string_view description, Hive hive) {
    Section policy = registryLeaf(id, key, "Policy Run", parent, description, hive,
                                  "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run");
    policy.offer = DialogOffer::Never;
    policy.readOnly = true;
    return policy;
}

Section folderLeaf(SectionId id, std::string_view key, std::string_view caption, std::string_view description,
                   ShellFolder shellFolder, Hive switchHive) {
    static const std::string subkey = std::string(kApproved) + "StartupFolder";
    Section folder =
        leaf(id, key, caption, StartupFolder, description, FolderSource{shellFolder}, DialogOffer::AddAndEdit);
    folder.switches = StartupSwitches{switchHive, subkey, ""};
    return folder;
}

constexpr std::string_view kAppModel =
    "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\AppModel\\";

// A leaf whose entries belong to what declares them: switched here, never
// parked, deleted or edited.
Section keptLeaf(SectionId id, std::string_view key, std::string_view caption, SectionId parent,
                 std::string_view description, Source source, const char* keptBy) {
    Section kept = leaf(id, key, caption, parent, description, source, DialogOffer::Never);
    kept.keptBy = keptBy;
    return kept;
}

Section appsLeaf() {
    static const std::string packages = std::string(kAppModel) + "Repository\\Packages",
                             switches = std::string(kAppModel) + "SystemAppData";
    return keptLeaf(PackagedApps, "Apps", "Apps", AllPrograms, "Startup tasks of packaged apps",
                    PackagedAppSource{packages, switches},
                    "The app's package declares this startup task: it is switched on and off here, and goes only "
                    "with the package.");
}

constexpr const char* kKeptByServiceManager =
    "A service is switched off here, never deleted or edited: clear its box to keep Windows from starting it.";
constexpr const char* kKeptByTaskScheduler =
    "The task scheduler keeps this task: it is switched on and off here, and changed or deleted in the Task "
    "Scheduler.";

// The leaves, in the order they are read.
const std::vector<Section>& leaves() {
    static const std::vector<Section> table = {
        runLeaf(UserRun, "Registry\\Current User\\Run", RegistryCurrentUser, "Programs that runs at current user logon",
                Hive::CurrentUser),
        registryLeaf(UserRunOnce, "Registry\\Current User\\Run Once", "Run once", RegistryCurrentUser,
                     "Programs that runs once at current user logon", Hive::CurrentUser,
                     "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"),
        policyLeaf(UserPolicyRun, "Registry\\Current User\\Policy Run", RegistryCurrentUser,
                   "Programs that group policy runs at current user logon", Hive::CurrentUser),
        runLeaf(MachineRun, "Registry\\All Users\\Run", RegistryAllUsers, "Program runs at logon of all users",
                Hive::LocalMachine),
        registryLeaf(MachineRunOnce, "Registry\\All Users\\Run Once", "Run once", RegistryAllUsers,
                     "Program that runs once at logon of all users", Hive::LocalMachine,
                     "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"),
        registryLeaf(MachineRunOnceEx, "Registry\\All Users\\Run Once Ex", "Run once Ex", RegistryAllUsers,
                     "Program that runs once(extented) at logon of all users", Hive::LocalMachine,
                     "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx"),
        registryLeaf(MachineRunServices, "Registry\\All Users\\Run Services", "Run services", RegistryAllUsers,
                     "Services that runs at logon of all users", Hive::LocalMachine,
                     "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices"),
        registryLeaf(MachineRunServicesOnce, "Registry\\All Users\\Run Services Once", "Run services once",
                     RegistryAllUsers, "Services that runs once at logon of all users", Hive::LocalMachine,
                     "Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce"),
        policyLeaf(MachinePolicyRun, "Registry\\All Users\\Policy Run", RegistryAllUsers,
                   "Programs that group policy runs at logon of all users", Hive::LocalMachine),
        leaf(WinIniLoad, "Win.ini\\Load", "Load", WinIni, "Programs run from Win.ini load section",
             WinIniSource{"Load"}, DialogOffer::EditOnly),
        leaf(WinIniRun, "Win.ini\\Run", "Run", WinIni, "Programs run from Win.ini run section", WinIniSource{"Run"},
             DialogOffer::EditOnly),
        folderLeaf(StartupAllUsers, "Startup Folder\\All Users", "All users", "Program listed in shared Startup Folder",
                   ShellFolder::CommonStartup, Hive::LocalMachine),
        folderLeaf(StartupCurrentUser, "Startup Folder\\Current User", "Current user",
                   "Program listed in Startup Folder of current user", ShellFolder::UserStartup, Hive::CurrentUser),
        appsLeaf(),
        keptLeaf(ServicesAutomatic, "Services\\Automatic", "Automatic", ServicesGroup,
                 "Services that start with Windows", ServiceSource{false}, kKeptByServiceManager),
        keptLeaf(ServicesDelayed, "Services\\Automatic (delayed)", "Automatic (delayed)", ServicesGroup,
                 "Services that start a while after Windows has started", ServiceSource{true}, kKeptByServiceManager),
        keptLeaf(TasksAtLogon, "Scheduled tasks\\At logon", "At logon", ScheduledTasks,
                 "Scheduled tasks that start a program at logon", ScheduledTaskSource{TaskStart::AtLogon},
                 kKeptByTaskScheduler),
        keptLeaf(TasksAtStartup, "Scheduled tasks\\At start-up", "At start-up", ScheduledTasks,
                 "Scheduled tasks that start a program when Windows starts", ScheduledTaskSource{TaskStart::AtStartup},
                 kKeptByTaskScheduler),
    };
    return table;
}

template <typename Match>
std::optional<SectionId> findWhere(Match matches) {
    for (const auto* table : {&groups(), &leaves()})
        for (const Section& candidate : *table)
            if (matches(candidate)) return candidate.id;
    return std::nullopt;
}

bool descendsFrom(const Section& leaf, SectionId ancestor) {
    for (std::optional<SectionId> at = leaf.id; at; at = section(*at).parent)
        if (*at == ancestor) return true;
    return false;
}

// Parents before children: a group's own groups first, then its leaves.
void appendSubtree(SectionId id, std::vector<SectionId>& order) {
    order.push_back(id);
    for (const Section& group : groups())
        if (group.parent == id) appendSubtree(group.id, order);
    for (const Section& leaf : leaves())
        if (leaf.parent == id) order.push_back(leaf.id);
}

}  // namespace

const Section& section(SectionId id) {
    static const std::vector<const Section*> byId = [] {
        std::vector<const Section*> index;
        for (const auto* table : {&groups(), &leaves()})
            for (const Section& entry : *table) {
                const auto at = static_cast<std::size_t>(entry.id);
                if (index.size() <= at) index.resize(at + 1);
                index[at] = &entry;
            }
        return index;
    }();
    return *byId.at(static_cast<std::size_t>(id));
}

std::optional<SectionId> findSection(std::string_view key) {
    return findWhere([&](const Section& candidate) { return candidate.key == key; });
}

std::optional<SectionId> findSectionIgnoringCase(std::string_view key) {
    return findWhere([&](const Section& candidate) { return equalsNoCase(candidate.key, key); });
}

const std::vector<SectionId>& sectionTree() {
    static const std::vector<SectionId> order = [] {
        std::vector<SectionId> tree;
        appendSubtree(AllPrograms, tree);
        return tree;
    }();
    return order;
}

const std::vector<SectionId>& leavesOf(SectionId id) {
    static const auto table = [] {
        std::vector<std::vector<SectionId>> members(sectionTree().size());
        for (SectionId owner : sectionTree())
            for (const Section& leaf : leaves())
                if (descendsFrom(leaf, owner)) members.at(static_cast<std::size_t>(owner)).push_back(leaf.id);
        return members;
    }();
    return table.at(static_cast<std::size_t>(id));
}

}  // namespace lsu
