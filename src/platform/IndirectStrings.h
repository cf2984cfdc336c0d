#pragma once
// The text an indirect string names, read from the library's string table
// without the system's help: for a Windows that is not running, and for a
// system that keeps its files only in memory.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/SystemFacts.h"
#include "platform/formats/ByteSource.h"
#include "platform/formats/IndirectString.h"

namespace lsu {

// A file of the system opened for reading a piece at a time; nullptr when
// there is no such file or it cannot be read.
using ImageOpener = std::function<std::unique_ptr<formats::ByteSource>(const std::string& path)>;

// The string from the library (environment variables expanded, a bare name
// found in System32), or else from its .mui file in the first of the
// languages ("en-US") that holds it; empty when none does.
std::string indirectStringText(const formats::IndirectString& reference, SystemFacts& system, const ImageOpener& open,
                               const std::vector<std::string>& languages);

}  // namespace lsu
