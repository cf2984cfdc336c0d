#include "operations/journal/TouchedPlaces.h"

#include "base/CaseFolding.h"
#include "platform/TemporaryNames.h"

namespace lsu {

namespace {

std::string hiveName(Hive hive) { return hive == Hive::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER"; }

bool sameKey(const RegistryLocation& a, const RegistryLocation& b) {
    return a.hive == b.hive && a.view == b.view && equalsNoCase(a.subkey, b.subkey);
}

Result<PlaceState> readFilePlace(const SourcePorts& ports, const std::string& path) {
    auto bytes = ports.files.readFile(path);
    if (bytes) return PlaceState(std::move(*bytes));
    if (bytes.error().kind == ErrorKind::NotFound) return PlaceState();
    return bytes.error();
}

Result<PlaceState> readServicePlace(const SourcePorts& ports, const std::string& name) {
    auto service = ports.services.readService(name);
    if (service) return PlaceState(ServiceStart{service->startType, service->delayed});
    if (service.error().kind == ErrorKind::NotFound) return PlaceState();
    return service.error();
}

Result<PlaceState> readTaskPlace(const SourcePorts& ports, const std::string& path) {
    auto tasks = ports.tasks.registeredTasks();
    if (!tasks) return tasks.error();
    for (const RegisteredTask& task : *tasks)
        if (equalsNoCase(task.path, path)) return PlaceState(TaskSwitch{task.enabled});
    return PlaceState();
}

// A key is made by writing a value into it, which then goes again.
Status makeKey(const SourcePorts& ports, const RegistryLocation& key) {
    const RegistryValue marker{temporaryNameFor("key"), kRegSz, {0, 0}};
    if (Status written = ports.registry.writeValue(key, marker, true); !written) return written;
    return ports.registry.deleteValue(key, marker.name);
}

Status putRegistryValue(const SourcePorts& ports, const RegistryPlace& place, const PlaceState& state) {
    if (!state)
        return ports.registry.readValue(place.key, place.name) ? ports.registry.deleteValue(place.key, place.name)
                                                               : Status();
    return ports.registry.writeValue(place.key, std::get<RegistryValue>(*state), true);
}

Status putFile(const SourcePorts& ports, const FilePlace& place, const PlaceState& state) {
    if (!state) return ports.files.fileExists(place.path) ? ports.files.deleteFile(place.path) : Status();
    return ports.files.writeFile(place.path, std::get<Bytes>(*state));
}

// A win.ini line is written the way an entry's line is, so that one that
// reads back only in quotes is written in quotes.
Status putProfileText(const SourcePorts& ports, const ProfilePlace& place, const PlaceState& state) {
    if (!state) return ports.profiles.removeProfileKey(place.section, place.key, place.file);
    const auto& text = std::get<std::string>(*state);
    if (text.empty()) return ports.profiles.writeProfile(place.section, place.key, "", place.file);
    return writeEntry(ports, place, ProfileLine{text});
}

Status putPlace(const SourcePorts& ports, const TouchedPlace& place, const PlaceState& state) {
    if (auto* value = std::get_if<RegistryPlace>(&place)) return putRegistryValue(ports, *value, state);
    if (auto* key = std::get_if<KeyPlace>(&place))
        return state ? makeKey(ports, key->key) : ports.registry.removeEmptyKey(key->key);
    if (auto* file = std::get_if<FilePlace>(&place)) return putFile(ports, *file, state);
    if (auto* folder = std::get_if<FolderPlace>(&place))
        return state ? ports.files.ensureFolder(folder->path) : ports.files.removeFolder(folder->path);
    if (auto* profile = std::get_if<ProfilePlace>(&place)) return putProfileText(ports, *profile, state);
    if (auto* task = std::get_if<TaskPlace>(&place)) {
        if (!state) return Error{ErrorKind::NotOffered, 0, "A scheduled task is not registered or removed here."};
        return ports.tasks.setTaskEnabled(task->path, std::get<TaskSwitch>(*state).enabled);
    }
    const auto& service = std::get<ServicePlace>(place);
    if (!state) return Error{ErrorKind::NotOffered, 0, "A service is not made or removed here."};
    const auto& start = std::get<ServiceStart>(*state);
    return ports.services.setServiceStart(service.name, start.startType, start.delayed);
}

}  // namespace

bool samePlace(const TouchedPlace& a, const TouchedPlace& b) {
    if (a.index() != b.index()) return false;
    if (auto* key = std::get_if<KeyPlace>(&a)) return sameKey(key->key, std::get<KeyPlace>(b).key);
    if (auto* folder = std::get_if<FolderPlace>(&a)) return equalsNoCase(folder->path, std::get<FolderPlace>(b).path);
    if (auto* service = std::get_if<ServicePlace>(&a))
        return equalsNoCase(service->name, std::get<ServicePlace>(b).name);
    if (auto* task = std::get_if<TaskPlace>(&a)) return equalsNoCase(task->path, std::get<TaskPlace>(b).path);
    const auto asEntryPlace = [](const TouchedPlace& place) -> EntryPlace {
        if (auto* value = std::get_if<RegistryPlace>(&place)) return *value;
        if (auto* file = std::get_if<FilePlace>(&place)) return *file;
        return std::get<ProfilePlace>(place);
    };
    return samePlace(asEntryPlace(a), asEntryPlace(b));
}

std::string describePlace(const TouchedPlace& place) {
    if (auto* value = std::get_if<RegistryPlace>(&place)) return describePlace(EntryPlace(*value));
    if (auto* key = std::get_if<KeyPlace>(&place))
        return "the key " + hiveName(key->key.hive) + "\\" + key->key.subkey +
               (key->key.view == RegistryView::Bits32 ? " (32-bit)" : "");
    if (auto* file = std::get_if<FilePlace>(&place)) return file->path;
    if (auto* folder = std::get_if<FolderPlace>(&place)) return "the folder " + folder->path;
    if (auto* profile = std::get_if<ProfilePlace>(&place)) return describePlace(EntryPlace(*profile));
    if (auto* task = std::get_if<TaskPlace>(&place)) return "the scheduled task " + task->path;
    return "the start type of the service \"" + std::get<ServicePlace>(place).name + "\"";
}

Result<PlaceState> readPlace(const SourcePorts& ports, const TouchedPlace& place) {
    if (auto* value = std::get_if<RegistryPlace>(&place)) {
        auto stored = ports.registry.readValue(value->key, value->name);
        return stored ? PlaceState(std::move(*stored)) : PlaceState();
    }
    if (auto* key = std::get_if<KeyPlace>(&place))
        return ports.registry.readValues(key->key) ? PlaceState(Present{}) : PlaceState();
    if (auto* file = std::get_if<FilePlace>(&place)) return readFilePlace(ports, file->path);
    if (auto* folder = std::get_if<FolderPlace>(&place))
        return ports.files.folderExists(folder->path) ? PlaceState(Present{}) : PlaceState();
    if (auto* profile = std::get_if<ProfilePlace>(&place)) {
        auto text = ports.profiles.readProfile(profile->section, profile->key, profile->file);
        return text ? PlaceState(std::move(*text)) : PlaceState();
    }
    if (auto* task = std::get_if<TaskPlace>(&place)) return readTaskPlace(ports, task->path);
    return readServicePlace(ports, std::get<ServicePlace>(place).name);
}

bool holdsState(const TouchedPlace& place, const PlaceState& now, const PlaceState& state) {
    if (std::holds_alternative<ProfilePlace>(place)) {
        const auto textOf = [](const PlaceState& s) { return s ? std::get<std::string>(*s) : std::string(); };
        return textOf(now) == textOf(state);
    }
    return now == state;
}

Status putBack(const SourcePorts& ports, const TouchedPlace& place, const PlaceState& state) {
    Status put = putPlace(ports, place, state);
    const auto now = readPlace(ports, place);
    if (now && holdsState(place, *now, state)) return {};
    if (!put) return put;
    if (!now) return now.error();
    return Error{ErrorKind::ReadBackMismatch, 0, describePlace(place) + " did not read back as it was put back."};
}

}  // namespace lsu
