#include "platform/formats/IndirectString.h"

#include <algorithm>

#include "base/WindowsPaths.h"
#include "platform/formats/Digits.h"

namespace lsu::formats {

namespace {

// The id of "-101", "101" or "-101;comment", with spaces before it.
std::optional<std::uint16_t> idOf(std::string_view tail) {
    tail.remove_prefix(std::min(tail.find_first_not_of(' '), tail.size()));
    if (tail.starts_with('-')) tail.remove_prefix(1);
    auto id = numberOfDigits(tail.substr(0, std::min(tail.find(';'), tail.size())), 5);
    if (!id || *id > 0xFFFF) return std::nullopt;
    return static_cast<std::uint16_t>(*id);
}

}  // namespace

std::optional<IndirectString> parseIndirectString(std::string_view text) {
    if (!text.starts_with('@') || text.starts_with("@{")) return std::nullopt;
    const std::string_view rest = text.substr(1);
    // A path may hold commas of its own; the id follows the first comma
    // that only an id (and a comment) comes after.
    for (std::size_t comma = rest.find(','); comma != std::string_view::npos; comma = rest.find(',', comma + 1)) {
        auto id = idOf(rest.substr(comma + 1));
        if (id && comma > 0) return IndirectString{std::string(rest.substr(0, comma)), *id};
    }
    return std::nullopt;
}

std::string muiFileOf(std::string_view libraryPath, std::string_view language) {
    const std::string folder = parentFolderOf(libraryPath);
    const std::string name = std::string(fileNameOf(libraryPath)) + ".mui";
    if (folder.empty()) return std::string(language) + "\\" + name;
    return withTrailingBackslash(folder) + std::string(language) + "\\" + name;
}

}  // namespace lsu::formats
