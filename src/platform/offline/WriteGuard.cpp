#include "platform/offline/WriteGuard.h"

#include "platform/offline/HostFiles.h"

namespace lsu::offline {

Status WriteGuard::checkVolume(const std::string& path) {
    if (!onReadOnlyMount(path)) return {};
    return Error{ErrorKind::ReadOnlyVolume, 0,
                 path +
                     " is on a file system mounted read-only, so nothing was changed. Mount the Windows volume "
                     "read-write (ntfs-3g -o rw); ntfs-3g mounts a Windows that is hibernated or was shut down "
                     "with fast startup read-only, so start it and shut it down fully first."};
}

Status WriteGuard::checkHive(const std::string& hiveName, bool dirty) {
    if (!dirty || acceptDirtyHives_) return {};
    return Error{ErrorKind::DirtyHive, 0,
                 "The hive " + hiveName +
                     " was not shut down cleanly: its transaction logs hold changes the hive "
                     "file lacks, and hivex cannot replay them, so nothing was changed. Start Windows and shut it down "
                     "fully (with fast startup off), or accept the risk with --force-dirty."};
}

}  // namespace lsu::offline
