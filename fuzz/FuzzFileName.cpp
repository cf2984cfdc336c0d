// Checks names typed into the entry dialog the way they become file names in a
// Startup folder: a name that is let through never leaves its folder, and
// giving it the link extension keeps it a name that is let through.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/CaseFolding.h"
#include "operations/FileNames.h"

namespace {

bool staysInItsFolder(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of("\\/:") == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size);
    if (lsu::fileNameProblem(name)) return 0;
    if (!staysInItsFolder(name)) std::abort();
    const std::string link = lsu::withLinkExtension(name);
    if (lsu::fileNameProblem(link) || !lsu::endsWithNoCase(link, ".lnk")) std::abort();
    return 0;
}
