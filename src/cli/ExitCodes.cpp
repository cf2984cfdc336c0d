#include "cli/ExitCodes.h"

namespace lsu::cli {

int exitCodeFor(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::DeclinedByUser: return kExitRefused;
        case ErrorKind::NoWindowsVolume: return kExitNotAWindowsVolume;
        case ErrorKind::NoProfile: return kExitNoProfile;
        case ErrorKind::DirtyHive: return kExitDirtyHive;
        case ErrorKind::ReadOnlyVolume: return kExitReadOnlyVolume;
        case ErrorKind::RefusedByPolicy: return kExitReadOnlyEntry;
        case ErrorKind::NotOffered: return kExitNotOffered;
        case ErrorKind::NeedsAdministrator: return kExitNeedsAdministrator;
        case ErrorKind::NotJournaled: return kExitNotJournaled;
        case ErrorKind::ChangedSince: return kExitUndoRefused;
        default: return kExitOperationFailed;
    }
}

}  // namespace lsu::cli
