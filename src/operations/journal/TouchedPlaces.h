#pragma once
// Every place a change can touch, at the level the system changes it: a
// registry value or key, a file or folder, a win.ini key, a service's start
// type, a scheduled task's switch. What stands at each is read exactly, so
// that it can be put back.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "operations/EntryPlaces.h"

namespace lsu {

struct KeyPlace {
    RegistryLocation key;
    bool operator==(const KeyPlace&) const = default;
};

struct FolderPlace {
    std::string path;
};

struct ServicePlace {
    std::string name;
};

// A scheduled task, by the path the task scheduler knows it by.
struct TaskPlace {
    std::string path;
};

using TouchedPlace =
    std::variant<RegistryPlace, KeyPlace, FilePlace, FolderPlace, ProfilePlace, ServicePlace, TaskPlace>;

// How a service starts.
struct ServiceStart {
    std::uint32_t startType = 0;
    bool delayed = false;
    bool operator==(const ServiceStart&) const = default;
};

// Whether the task scheduler runs a task when it is triggered: all of a task
// this program changes, and so all that is put back.
struct TaskSwitch {
    bool enabled = true;
    bool operator==(const TaskSwitch&) const = default;
};

// A key or folder that stands.
struct Present {
    bool operator==(const Present&) const = default;
};

// What stands at a touched place: a registry value (under the name it is
// stored as), a file's bytes, a win.ini key's text, a service's start, a
// task's switch, a key or folder; nullopt when nothing stands there.
using PlaceContent = std::variant<RegistryValue, Bytes, std::string, ServiceStart, TaskSwitch, Present>;
using PlaceState = std::optional<PlaceContent>;

bool samePlace(const TouchedPlace& a, const TouchedPlace& b);
std::string describePlace(const TouchedPlace& place);

// What stands at the place now; the system's reason when it cannot be read.
Result<PlaceState> readPlace(const SourcePorts& ports, const TouchedPlace& place);

// Whether the place holds that state. A win.ini key that is empty holds no
// entry, as one that is absent holds none.
bool holdsState(const TouchedPlace& place, const PlaceState& now, const PlaceState& state);

// Puts the state back at the place, and reads it back.
Status putBack(const SourcePorts& ports, const TouchedPlace& place, const PlaceState& state);

}  // namespace lsu
