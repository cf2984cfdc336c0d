#include "ui/logic/TreeImages.h"

namespace lsu {

namespace {

TreeImage shownImage(SectionId id) {
    switch (id) {
        case SectionId::StartupFolder: return TreeImage::StartupFolder;
        case SectionId::Registry: return TreeImage::Registry;
        case SectionId::RegistryAllUsers:
        case SectionId::StartupAllUsers: return TreeImage::Users;
        case SectionId::RegistryCurrentUser:
        case SectionId::StartupCurrentUser: return TreeImage::User;
        case SectionId::PackagedApps: return TreeImage::App;
        case SectionId::ScheduledTasks:
        case SectionId::TasksAtLogon:
        case SectionId::TasksAtStartup: return TreeImage::Task;
        default: return TreeImage::ClosedFolder;
    }
}

}  // namespace

NodeImages nodeImagesOf(SectionId id) {
    const TreeImage shown = shownImage(id);
    const bool opens = section(id).isLeaf() && shown == TreeImage::ClosedFolder;
    return {shown, opens ? TreeImage::OpenFolder : shown};
}

}  // namespace lsu
