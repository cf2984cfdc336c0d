#pragma once
// Everything a change could touch, as it stands, byte for byte: the values of
// every Run-type key and its disabled key in each view (or that the key is
// missing), Windows' startup switches, win.ini's start-up lines and its bytes,
// and the files of the Startup folders and the disabled-items folders (or
// that a folder is missing). What a refusal must leave as it was.

#include <map>
#include <string>

#include "platform/Ports.h"

namespace lsu::test {

using SourcesSnapshot = std::map<std::string, std::string>;

SourcesSnapshot snapshotOfSources(const ScanPorts& platform);

// What differs between two snapshots, one line each; empty when nothing does.
std::string changesBetween(const SourcesSnapshot& before, const SourcesSnapshot& after);

}  // namespace lsu::test
