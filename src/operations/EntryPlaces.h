#pragma once
// The places an entry can stand in, and what stands there, for all three
// kinds of source alike: a named registry value, a win.ini key, a file.
// Every write is read back and compared before it counts as done.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/Ports.h"

namespace lsu {

struct RegistryPlace {
    RegistryLocation key;
    std::string name;
};

struct ProfilePlace {
    std::string file;
    std::string section;
    std::string key;
};

struct FilePlace {
    std::string path;
};

using EntryPlace = std::variant<RegistryPlace, ProfilePlace, FilePlace>;

// A line of win.ini.
struct ProfileLine {
    std::string text;
    bool operator==(const ProfileLine&) const = default;
};

// A file's bytes, or a link still to be built from its fields.
using FileBytes = std::vector<std::uint8_t>;

// What stands at a place. A RegistryValue's name is the place's, not its own.
using EntryContent = std::variant<RegistryValue, ProfileLine, FileBytes, ShortcutFields>;

// What reading a place found: the entry that stands there, nullopt when no
// entry stands there (a win.ini key that is empty, or "No" in section
// "Windows", holds no entry), or why what stands there cannot be read (a
// file another program holds open).
using EntryRead = Result<std::optional<EntryContent>>;
EntryRead readEntry(const SourcePorts& ports, const EntryPlace& place);
// Whether something stands there: an entry, or one that cannot be read.
bool somethingStands(const EntryRead& read);

// Why a change at the place would be refused, found out before anything is
// written: what the system knows against it.
Status checkChange(const SourcePorts& ports, const EntryPlace& place);

// Writes the content at the place, replacing what stands there, and reads it
// back. Refused when the system refused the write, or a read-back mismatch
// when it did not read back the same. What no such place can hold is refused
// before anything is written: a value name longer than the registry takes,
// a win.ini line holding a line break or beginning with "[" (it would write
// lines of its own into win.ini). A win.ini line that begins or ends with a
// space, or is enclosed in quotes, is written quoted where only so it reads
// back exactly as given.
Status writeEntry(const SourcePorts& ports, const EntryPlace& place, const EntryContent& content);

// Removes the entry from the place.
Status removeEntry(const SourcePorts& ports, const EntryPlace& place);

// Puts back what stood at the place before a write (nullopt: nothing) unless
// it still holds that, and reads it back: a failure when the place does not
// hold it again.
Status restoreEntry(const SourcePorts& ports, const EntryPlace& place, const std::optional<EntryContent>& before);

bool sameContent(const EntryContent& a, const EntryContent& b);
// Whether two places name the same stored entry (names and paths compared as
// the system compares them, without regard to case).
bool samePlace(const EntryPlace& a, const EntryPlace& b);

// "The registry value" / "The win.ini line" / "The file" / "The link file",
// and where it stands, for the replace question.
std::string kindOfPlace(const EntryPlace& place);
std::string describePlace(const EntryPlace& place);

}  // namespace lsu
