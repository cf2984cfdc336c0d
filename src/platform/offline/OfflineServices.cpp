// The services of the offline system: the keys of its SYSTEM hive, in the
// control set it last started with.

#include <cstdio>

#include "platform/IndirectStrings.h"
#include "platform/RegistryNumbers.h"
#include "platform/offline/HostFiles.h"
#include "platform/offline/OfflinePlatform.h"
#include "platform/offline/Posix.h"

namespace lsu::offline {

namespace {

constexpr const char* kUiLanguagesKey = "SYSTEM\\CurrentControlSet\\Control\\MUI\\UILanguages";

// "ControlSet001" to "ControlSet999", the sets Select may name.
std::string controlSetNamed(const std::optional<HiveValue>& current) {
    if (!current) return {};
    const auto number = dwordOf({current->name, current->type, current->data});
    if (!number || *number < 1 || *number > 999) return {};
    char name[16];
    std::snprintf(name, sizeof name, "ControlSet%03u", static_cast<unsigned>(*number));
    return name;
}

}  // namespace

void OfflinePlatform::openSystemHive() {
    auto host = paths_.hostPath(windowsFolder_ + "\\System32\\config\\SYSTEM");
    if (!host || !isPlainFile(*host)) return;
    systemPath_ = *host;
    system_ = HiveFile::open(*host, paths_.holdFolder(parentFolder(*host)), guard_);
    if (!system_) return;
    const std::string named = controlSetNamed(system_->value("Select", "Current"));
    if (!named.empty() && system_->hasKey(named)) controlSet_ = named;
}

std::optional<Error> OfflinePlatform::servicesProblem() const {
    if (systemPath_.empty())
        return Error{ErrorKind::NotFound, 0, "The volume holds no SYSTEM hive, which keeps the services."};
    if (!system_) return Error{ErrorKind::DamagedData, 0, systemPath_ + " is not a registry hive."};
    if (controlSet_.empty())
        return Error{ErrorKind::DamagedData, 0,
                     "The value Select\\Current of " + systemPath_ +
                         " names no control set there (ControlSet001 to ControlSet999)."};
    return std::nullopt;
}

// The library is read where it stands on the volume, a piece at a time, in
// the languages the system shows its text in.
std::string OfflinePlatform::displayText(const formats::IndirectString& reference) {
    auto open = [&](const std::string& path) -> std::unique_ptr<formats::ByteSource> {
        auto host = paths_.hostPathAsWindowsFindsIt(path);
        auto file = host ? RegularFile::open(*host) : std::nullopt;
        if (!file) return nullptr;
        return std::make_unique<RegularFile>(std::move(*file));
    };
    auto languages = readSubkeys({Hive::LocalMachine, RegistryView::Bits64, kUiLanguagesKey});
    return indirectStringText(reference, *this, open, languages.value_or(std::vector<std::string>{"en-US"}));
}

Result<std::vector<ServiceConfig>> OfflinePlatform::listServices() {
    if (auto problem = servicesProblem()) return *problem;
    return services_.list();
}

Result<ServiceConfig> OfflinePlatform::readService(const std::string& name) {
    if (auto problem = servicesProblem()) return *problem;
    return services_.read(name);
}

Status OfflinePlatform::setServiceStart(const std::string& name, std::uint32_t startType, bool delayed) {
    if (auto problem = servicesProblem()) return *problem;
    return services_.setStart(name, startType, delayed);
}

}  // namespace lsu::offline
