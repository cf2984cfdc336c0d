#pragma once
// A link is built whole in a temporary file beside its target and only then
// put in place, so that a failure never leaves a half-made link in a Startup
// folder nor costs the link that stood there; a run stopped in between leaves
// only a file under a temporary name (TemporaryNames.h), which no listing of
// the program shows, no ".lnk" that Windows would start as a link, and which
// the next link placed in that folder clears away.

#include <functional>
#include <string>

#include "platform/FileSystem.h"

namespace lsu {

// Where a link for this target is built before it is moved into place: a
// temporary name of its own beside it.
std::string temporaryLinkFile(const std::string& linkFile);

// Builds the link in its temporary file with build, then moves it to
// linkFile, replacing a file there only when replace is set. On failure the
// temporary file is removed again.
Status placeLink(FileSystem& files, const std::string& linkFile, bool replace,
                 const std::function<Status(const std::string& temporary)>& build);

}  // namespace lsu
