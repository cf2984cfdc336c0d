#pragma once
// Text the registry keeps as a reference to a string of a library's string
// table, as many display names and descriptions are stored:
// "@%SystemRoot%\system32\x.dll,-101".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lsu::formats {

struct IndirectString {
    std::string file;  // as written: environment variables unexpanded, maybe without a folder
    std::uint16_t id = 0;
    bool operator==(const IndirectString&) const = default;
};

// "@file,-id", and the "@file,id" and "@file,-id;comment" forms Windows
// takes as well; nullopt for any other text, a packaged app's resource
// reference "@{...}" among them.
std::optional<IndirectString> parseIndirectString(std::string_view text);

// The .mui file Windows reads a library's strings from in one language:
// "C:\Windows\System32\x.dll" in "en-US" is
// "C:\Windows\System32\en-US\x.dll.mui".
std::string muiFileOf(std::string_view libraryPath, std::string_view language);

}  // namespace lsu::formats
