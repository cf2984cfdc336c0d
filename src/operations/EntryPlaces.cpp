#include "operations/EntryPlaces.h"

#include "base/CaseFolding.h"
#include "base/Utf16.h"
#include "catalog/DisabledStores.h"

namespace lsu {

namespace {

bool holdsEntry(const ProfilePlace& place, const std::string& value) {
    return !value.empty() && !(place.section == kWinIniEnabledSection && value == "No");
}

std::string hiveName(Hive hive) { return hive == Hive::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER"; }

EntryRead absent() { return std::optional<EntryContent>(); }

EntryRead readRegistry(const SourcePorts& ports, const RegistryPlace& place) {
    auto value = ports.registry.readValue(place.key, place.name);
    if (!value) return absent();
    value->name = place.name;
    return std::optional<EntryContent>(std::move(*value));
}

EntryRead readProfileLine(const SourcePorts& ports, const ProfilePlace& place) {
    auto value = ports.profiles.readProfile(place.section, place.key, place.file);
    if (!value || !holdsEntry(place, *value)) return absent();
    return std::optional<EntryContent>(ProfileLine{*value});
}

EntryRead readFileBytes(const SourcePorts& ports, const FilePlace& place) {
    auto bytes = ports.files.readFile(place.path);
    if (bytes) return std::optional<EntryContent>(std::move(*bytes));
    if (bytes.error().kind == ErrorKind::NotFound) return absent();
    return bytes.error();
}

// A write the system took but that does not read back the same did not
// store the entry.
Error readBackDiffers() { return {ErrorKind::ReadBackMismatch, 0, "What was written did not read back the same."}; }

Status writeRegistry(const SourcePorts& ports, const RegistryPlace& place, const RegistryValue& content) {
    if (utf16FromUtf8(place.name).size() > kLongestValueName)
        return Error{ErrorKind::InvalidInput, 0,
                     "The name is longer than the 16,383 characters the registry takes for the name of a value."};
    RegistryValue value = content;
    value.name = place.name;
    if (Status written = ports.registry.writeValue(place.key, value, true); !written) return written;
    auto back = ports.registry.readValue(place.key, place.name);
    if (!back || back->type != value.type || back->data != value.data) return readBackDiffers();
    return {};
}

// What the profile functions take for the blanks around a value.
constexpr std::string_view kProfileBlanks = " \t";

// The profile functions end a value at a line break, and INI readers take
// text that begins with "[" for the start of a section: a value holding the
// one or beginning with the other could put lines of its own into win.ini.
bool fitsOneProfileLine(const std::string& text) {
    const auto first = text.find_first_not_of(kProfileBlanks);
    return text.find_first_of("\r\n") == std::string::npos && (first == std::string::npos || text[first] != '[');
}

// A section of an INI file reads a value without the spaces around it and
// without one pair of quotes that encloses it (a section the system maps to
// the registry reads it as written): such a value reads back as written
// only in quotes.
bool readsBackOnlyQuoted(const std::string& text) {
    const bool padded = !text.empty() && (kProfileBlanks.find(text.front()) != std::string_view::npos ||
                                          kProfileBlanks.find(text.back()) != std::string_view::npos);
    const bool quoted =
        text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front();
    return padded || quoted;
}

Status writeProfileValue(const SourcePorts& ports, const ProfilePlace& place, const std::string& value,
                         const std::string& text) {
    if (Status written = ports.profiles.writeProfile(place.section, place.key, value, place.file); !written)
        return written;
    if (ports.profiles.readProfile(place.section, place.key, place.file) != text) return readBackDiffers();
    return {};
}

Status writeProfileLine(const SourcePorts& ports, const ProfilePlace& place, const std::string& text) {
    if (!fitsOneProfileLine(text))
        return Error{ErrorKind::InvalidInput, 0,
                     "A win.ini line cannot hold a line break nor begin with \"[\": it would add lines of its own to "
                     "win.ini. Nothing was changed."};
    Status written = writeProfileValue(ports, place, text, text);
    if (written || !readsBackOnlyQuoted(text)) return written;
    return writeProfileValue(ports, place, "\"" + text + "\"", text);
}

Status writeFileBytes(const SourcePorts& ports, const FilePlace& place, const FileBytes& bytes) {
    if (Status written = ports.files.writeFile(place.path, bytes); !written) return written;
    if (auto back = ports.files.readFile(place.path); !back || *back != bytes) return readBackDiffers();
    return {};
}

}  // namespace

EntryRead readEntry(const SourcePorts& ports, const EntryPlace& place) {
    if (auto* registry = std::get_if<RegistryPlace>(&place)) return readRegistry(ports, *registry);
    if (auto* profile = std::get_if<ProfilePlace>(&place)) return readProfileLine(ports, *profile);
    return readFileBytes(ports, std::get<FilePlace>(place));
}

bool somethingStands(const EntryRead& read) { return !read || read->has_value(); }

Status checkChange(const SourcePorts& ports, const EntryPlace& place) {
    if (auto* registry = std::get_if<RegistryPlace>(&place)) return ports.registry.checkChange(registry->key);
    if (auto* profile = std::get_if<ProfilePlace>(&place))
        return ports.profiles.checkChange(profile->section, profile->file);
    return ports.files.checkChange(std::get<FilePlace>(place).path);
}

Status writeEntry(const SourcePorts& ports, const EntryPlace& place, const EntryContent& content) {
    if (auto* registry = std::get_if<RegistryPlace>(&place)) {
        if (auto* value = std::get_if<RegistryValue>(&content)) return writeRegistry(ports, *registry, *value);
    } else if (auto* profile = std::get_if<ProfilePlace>(&place)) {
        if (auto* line = std::get_if<ProfileLine>(&content)) return writeProfileLine(ports, *profile, line->text);
    } else {
        const auto& file = std::get<FilePlace>(place);
        if (auto* bytes = std::get_if<FileBytes>(&content)) return writeFileBytes(ports, file, *bytes);
        if (auto* fields = std::get_if<ShortcutFields>(&content))
            return ports.links.writeShortcut(file.path, *fields, true);
    }
    return Error{ErrorKind::InvalidInput, 0, "This kind of entry cannot be stored there."};
}

Status removeEntry(const SourcePorts& ports, const EntryPlace& place) {
    if (auto* registry = std::get_if<RegistryPlace>(&place))
        return ports.registry.deleteValue(registry->key, registry->name);
    // A win.ini key stays in its section with an empty value: no entry.
    if (auto* profile = std::get_if<ProfilePlace>(&place))
        return ports.profiles.writeProfile(profile->section, profile->key, "", profile->file);
    return ports.files.deleteFile(std::get<FilePlace>(place).path);
}

Status restoreEntry(const SourcePorts& ports, const EntryPlace& place, const std::optional<EntryContent>& before) {
    const auto holdsBefore = [&] {
        const EntryRead now = readEntry(ports, place);
        return now && (before ? *now && sameContent(**now, *before) : !*now);
    };
    // A write refused before it wrote anything has nothing to take back.
    if (holdsBefore()) return {};
    const Status restored = before ? writeEntry(ports, place, *before) : removeEntry(ports, place);
    if (holdsBefore()) return {};
    return restored ? Status(readBackDiffers()) : restored;
}

bool sameContent(const EntryContent& a, const EntryContent& b) {
    if (a.index() != b.index()) return false;
    if (auto* value = std::get_if<RegistryValue>(&a)) {
        const auto& other = std::get<RegistryValue>(b);
        return value->type == other.type && value->data == other.data;
    }
    return a == b;
}

bool samePlace(const EntryPlace& a, const EntryPlace& b) {
    if (a.index() != b.index()) return false;
    if (auto* registry = std::get_if<RegistryPlace>(&a)) {
        const auto& other = std::get<RegistryPlace>(b);
        return registry->key.hive == other.key.hive && registry->key.view == other.key.view &&
               equalsNoCase(registry->key.subkey, other.key.subkey) && equalsNoCase(registry->name, other.name);
    }
    if (auto* profile = std::get_if<ProfilePlace>(&a)) {
        const auto& other = std::get<ProfilePlace>(b);
        return equalsNoCase(profile->file, other.file) && equalsNoCase(profile->section, other.section) &&
               equalsNoCase(profile->key, other.key);
    }
    return equalsNoCase(std::get<FilePlace>(a).path, std::get<FilePlace>(b).path);
}

std::string kindOfPlace(const EntryPlace& place) {
    if (std::holds_alternative<RegistryPlace>(place)) return "The registry value";
    if (std::holds_alternative<ProfilePlace>(place)) return "The win.ini line";
    return endsWithNoCase(std::get<FilePlace>(place).path, ".lnk") ? "The link file" : "The file";
}

std::string describePlace(const EntryPlace& place) {
    if (auto* registry = std::get_if<RegistryPlace>(&place)) {
        std::string where = hiveName(registry->key.hive) + "\\" + registry->key.subkey + "\\";
        if (registry->key.view == RegistryView::Bits32) where += "(32-bit) ";
        return where + (registry->name.empty() ? "(Default)" : registry->name);
    }
    if (auto* profile = std::get_if<ProfilePlace>(&place))
        return "[" + profile->section + "] " + profile->key + "= in " + profile->file;
    return std::get<FilePlace>(place).path;
}

}  // namespace lsu
