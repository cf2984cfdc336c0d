#include "operations/journal/JournalRecords.h"

#include <array>
#include <map>
#include <nlohmann/json.hpp>

#include "base/Utf16.h"
#include "operations/journal/Base64.h"

namespace lsu {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::array<std::string_view, 6> kActionNames = {"enable", "disable", "delete", "add", "edit", "undo"};
constexpr std::array<std::string_view, 7> kPlaceKinds = {"value",   "key",     "file", "folder",
                                                         "win.ini", "service", "task"};

// UTF-8 that JSON can hold as it is: no unpaired surrogate, nothing that is
// not UTF-8 at all.
bool isPlainUtf8(const std::string& text) {
    const std::u16string units = utf16FromUtf8(text);
    if (utf8FromUtf16(units) != text) return false;
    for (std::size_t at = 0; at < units.size(); ++at) {
        const char16_t unit = units[at];
        if (unit >= 0xDC00 && unit <= 0xDFFF) return false;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (at + 1 == units.size() || units[at + 1] < 0xDC00 || units[at + 1] > 0xDFFF) return false;
            ++at;
        }
    }
    return true;
}

// Names and paths are kept whole: one that JSON cannot hold as text is kept
// as its bytes.
Json textJson(const std::string& text) {
    if (isPlainUtf8(text)) return text;
    return Json{{"wtf8", base64Of(Bytes(text.begin(), text.end()))}};
}

std::optional<std::string> textOf(const Json& json) {
    if (json.is_string()) return json.get<std::string>();
    if (!json.is_object() || !json.contains("wtf8") || !json["wtf8"].is_string()) return std::nullopt;
    auto bytes = bytesOfBase64(json["wtf8"].get<std::string>());
    if (!bytes) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

std::optional<std::string> textField(const Json& object, const char* name) {
    if (!object.is_object() || !object.contains(name)) return std::nullopt;
    return textOf(object[name]);
}

template <typename Number>
std::optional<Number> numberField(const Json& object, const char* name) {
    if (!object.is_object() || !object.contains(name) || !object[name].is_number_integer()) return std::nullopt;
    if constexpr (std::is_unsigned_v<Number>) {
        if (!object[name].is_number_unsigned()) return std::nullopt;
        const auto value = object[name].get<std::uint64_t>();
        if (value > std::numeric_limits<Number>::max()) return std::nullopt;
        return static_cast<Number>(value);
    } else {
        return object[name].get<Number>();
    }
}

Json keyJson(const RegistryLocation& key) {
    const char* view = key.view == RegistryView::Bits32 ? "32" : key.view == RegistryView::Bits64 ? "64" : "shared";
    return Json{
        {"hive", key.hive == Hive::LocalMachine ? "HKLM" : "HKCU"}, {"view", view}, {"key", textJson(key.subkey)}};
}

std::optional<RegistryLocation> keyOf(const Json& json) {
    const auto hive = textField(json, "hive");
    const auto view = textField(json, "view");
    const auto subkey = textField(json, "key");
    if (!hive || !view || !subkey || (*hive != "HKLM" && *hive != "HKCU")) return std::nullopt;
    RegistryLocation key{*hive == "HKLM" ? Hive::LocalMachine : Hive::CurrentUser, RegistryView::Shared, *subkey};
    if (*view == "32") key.view = RegistryView::Bits32;
    else if (*view == "64") key.view = RegistryView::Bits64;
    else if (*view != "shared") return std::nullopt;
    return key;
}

Json placeJson(const TouchedPlace& place) {
    Json json{{"kind", kPlaceKinds[place.index()]}};
    if (auto* value = std::get_if<RegistryPlace>(&place)) {
        json.update(keyJson(value->key));
        json["name"] = textJson(value->name);
    } else if (auto* key = std::get_if<KeyPlace>(&place)) {
        json.update(keyJson(key->key));
    } else if (auto* file = std::get_if<FilePlace>(&place)) {
        json["path"] = textJson(file->path);
    } else if (auto* folder = std::get_if<FolderPlace>(&place)) {
        json["path"] = textJson(folder->path);
    } else if (auto* profile = std::get_if<ProfilePlace>(&place)) {
        json["file"] = textJson(profile->file);
        json["section"] = textJson(profile->section);
        json["key"] = textJson(profile->key);
    } else if (auto* task = std::get_if<TaskPlace>(&place)) {
        json["path"] = textJson(task->path);
    } else {
        json["name"] = textJson(std::get<ServicePlace>(place).name);
    }
    return json;
}

std::optional<TouchedPlace> placeOf(const Json& json) {
    const auto kind = textField(json, "kind");
    if (!kind) return std::nullopt;
    if (*kind == "value" || *kind == "key") {
        auto key = keyOf(json);
        if (!key) return std::nullopt;
        if (*kind == "key") return KeyPlace{*key};
        auto name = textField(json, "name");
        if (!name) return std::nullopt;
        return RegistryPlace{*key, *name};
    }
    if (*kind == "file" || *kind == "folder" || *kind == "task") {
        auto path = textField(json, "path");
        if (!path) return std::nullopt;
        if (*kind == "task") return TaskPlace{*path};
        return *kind == "file" ? TouchedPlace(FilePlace{*path}) : TouchedPlace(FolderPlace{*path});
    }
    if (*kind == "win.ini") {
        auto file = textField(json, "file");
        auto section = textField(json, "section");
        auto key = textField(json, "key");
        if (!file || !section || !key) return std::nullopt;
        return ProfilePlace{*file, *section, *key};
    }
    if (*kind != "service") return std::nullopt;
    auto name = textField(json, "name");
    if (!name) return std::nullopt;
    return ServicePlace{*name};
}

Json stateJson(const PlaceState& state) {
    if (!state) return nullptr;
    if (auto* value = std::get_if<RegistryValue>(&*state))
        return Json{{"name", textJson(value->name)}, {"type", value->type}, {"data", base64Of(value->data)}};
    if (auto* bytes = std::get_if<Bytes>(&*state)) return Json{{"bytes", base64Of(*bytes)}};
    if (auto* text = std::get_if<std::string>(&*state)) return Json{{"text", textJson(*text)}};
    if (auto* start = std::get_if<ServiceStart>(&*state))
        return Json{{"start", start->startType}, {"delayed", start->delayed}};
    if (auto* task = std::get_if<TaskSwitch>(&*state)) return Json{{"enabled", task->enabled}};
    return Json{{"present", true}};
}

std::optional<Bytes> bytesField(const Json& json, const char* name) {
    if (!json.contains(name) || !json[name].is_string()) return std::nullopt;
    return bytesOfBase64(json[name].get<std::string>());
}

// What the place can hold decides how the state reads.
std::optional<PlaceState> stateOf(const Json& json, const TouchedPlace& place) {
    if (json.is_null()) return PlaceState();
    if (!json.is_object()) return std::nullopt;
    if (std::holds_alternative<RegistryPlace>(place)) {
        auto name = textField(json, "name");
        auto type = numberField<std::uint32_t>(json, "type");
        auto data = bytesField(json, "data");
        if (!name || !type || !data) return std::nullopt;
        return PlaceState(RegistryValue{*name, *type, *data});
    }
    if (std::holds_alternative<FilePlace>(place)) {
        auto bytes = bytesField(json, "bytes");
        if (!bytes) return std::nullopt;
        return PlaceState(std::move(*bytes));
    }
    if (std::holds_alternative<ProfilePlace>(place)) {
        auto text = textField(json, "text");
        if (!text) return std::nullopt;
        return PlaceState(std::move(*text));
    }
    if (std::holds_alternative<ServicePlace>(place)) {
        auto start = numberField<std::uint32_t>(json, "start");
        if (!start || !json.contains("delayed") || !json["delayed"].is_boolean()) return std::nullopt;
        return PlaceState(ServiceStart{*start, json["delayed"].get<bool>()});
    }
    if (std::holds_alternative<TaskPlace>(place)) {
        if (!json.contains("enabled") || !json["enabled"].is_boolean()) return std::nullopt;
        return PlaceState(TaskSwitch{json["enabled"].get<bool>()});
    }
    if (!json.contains("present") || json["present"] != true) return std::nullopt;
    return PlaceState(Present{});
}

std::string lineOf(const Json& json) { return json.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n"; }

std::optional<ChangeAction> actionOf(const std::string& name) {
    for (std::size_t at = 0; at < kActionNames.size(); ++at)
        if (kActionNames[at] == name) return static_cast<ChangeAction>(at);
    return std::nullopt;
}

std::optional<ChangeHeader> headerOf(const Json& json, ChangeId id) {
    ChangeHeader header;
    header.id = id;
    auto time = textField(json, "time");
    auto tool = textField(json, "tool");
    auto action = textField(json, "action");
    auto section = textField(json, "section");
    auto entry = textField(json, "entry");
    if (!time || !tool || !action || !section || !entry || !actionOf(*action)) return std::nullopt;
    header.time = *time;
    header.tool = *tool;
    header.action = *actionOf(*action);
    header.section = *section;
    header.entry = *entry;
    if (json.contains("undoes")) {
        header.undoes = numberField<ChangeId>(json, "undoes");
        if (!header.undoes) return std::nullopt;
    }
    return header;
}

std::optional<ChangeEnd> endOf(const Json& json, const std::vector<TouchedBefore>& places) {
    const auto outcome = textField(json, "outcome");
    const auto message = textField(json, "message");
    if (!outcome || !message || (*outcome != "done" && *outcome != "failed")) return std::nullopt;
    if (!json.contains("after") || !json["after"].is_array() || json["after"].size() != places.size())
        return std::nullopt;
    ChangeEnd end{*outcome == "done", *message, {}};
    for (std::size_t at = 0; at < places.size(); ++at) {
        auto state = stateOf(json["after"][at], places[at].place);
        if (!state) return std::nullopt;
        end.after.push_back(std::move(*state));
    }
    return end;
}

// Takes in one line; false when it cannot be read or belongs to no change
// begun before it.
bool takeLine(const Json& json, std::vector<JournalChange>& changes, std::map<ChangeId, std::size_t>& open) {
    const auto id = numberField<ChangeId>(json, "change");
    const auto event = textField(json, "event");
    if (!id || !event) return false;
    if (*event == "begin") {
        auto header = headerOf(json, *id);
        if (!header || open.count(*id)) return false;
        open[*id] = changes.size();
        changes.push_back({std::move(*header), {}, std::nullopt});
        return true;
    }
    const auto at = open.find(*id);
    if (at == open.end()) return false;
    JournalChange& change = changes[at->second];
    if (change.end) return false;
    if (*event == "place") {
        auto place = json.contains("place") ? placeOf(json["place"]) : std::nullopt;
        auto before = place && json.contains("before") ? stateOf(json["before"], *place) : std::nullopt;
        if (!before) return false;
        change.places.push_back({std::move(*place), std::move(*before)});
        return true;
    }
    if (*event != "end") return false;
    change.end = endOf(json, change.places);
    return change.end.has_value();
}

Json parsedLine(std::string_view line) { return Json::parse(line.begin(), line.end(), nullptr, false); }

}  // namespace

std::string_view actionName(ChangeAction action) { return kActionNames[static_cast<std::size_t>(action)]; }

std::string beginLine(const ChangeHeader& header) {
    Json json{{"change", header.id},
              {"event", "begin"},
              {"time", header.time},
              {"tool", textJson(header.tool)},
              {"action", actionName(header.action)},
              {"section", textJson(header.section)},
              {"entry", textJson(header.entry)}};
    if (header.undoes) json["undoes"] = *header.undoes;
    return lineOf(json);
}

std::string placeLine(ChangeId id, const TouchedBefore& touched) {
    return lineOf(Json{{"change", id},
                       {"event", "place"},
                       {"place", placeJson(touched.place)},
                       {"before", stateJson(touched.before)}});
}

std::string endLine(ChangeId id, const ChangeEnd& end, const std::vector<TouchedBefore>& places) {
    Json after = Json::array();
    for (std::size_t at = 0; at < places.size() && at < end.after.size(); ++at)
        after.push_back(stateJson(end.after[at]));
    return lineOf(Json{{"change", id},
                       {"event", "end"},
                       {"outcome", end.done ? "done" : "failed"},
                       {"message", textJson(end.message)},
                       {"after", after}});
}

std::vector<JournalChange> readJournalText(std::string_view text) {
    std::vector<JournalChange> changes;
    std::map<ChangeId, std::size_t> open;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t lineEnd = text.find('\n', at);
        if (lineEnd == std::string_view::npos) break;
        const Json json = parsedLine(text.substr(at, lineEnd - at));
        at = lineEnd + 1;
        if (json.is_object()) {
            try {
                (void)takeLine(json, changes, open);
            } catch (const Json::exception&) {
                // A line of the wrong shape is passed over like one that does not parse.
            }
        }
    }
    return changes;
}

std::optional<ChangeId> changeOfLine(std::string_view line) {
    // Lines this program writes begin with their change's number; others are
    // read whole.
    constexpr std::string_view kStart = "{\"change\":";
    if (line.starts_with(kStart)) {
        ChangeId id = 0;
        std::size_t at = kStart.size();
        for (; at < line.size() && at < kStart.size() + 18 && line[at] >= '0' && line[at] <= '9'; ++at)
            id = id * 10 + (line[at] - '0');
        if (at > kStart.size() && at < line.size() && line[at] == ',') return id;
    }
    const Json json = parsedLine(line);
    return numberField<ChangeId>(json, "change");
}

}  // namespace lsu
