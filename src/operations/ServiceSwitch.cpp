#include "operations/ServiceSwitch.h"

#include <algorithm>

#include "base/CaseFolding.h"
#include "catalog/ParkedServices.h"
#include "operations/Questions.h"

namespace lsu {

namespace {

std::string startTypeName(std::uint32_t startType) {
    switch (startType) {
        case kServiceBootStart: return "Boot";
        case kServiceSystemStart: return "System";
        case kServiceAutoStart: return "Automatic";
        case kServiceDemandStart: return "Manual";
        case kServiceDisabled: return "Disabled";
        default: return "start type " + std::to_string(startType);
    }
}

std::string recordPlace(const std::string& name) { return "HKEY_LOCAL_MACHINE\\" + parkedRecordKey(name).subkey; }

// A name with a backslash would name a key below the record's.
bool namesOneRecord(const std::string& name) { return !name.empty() && name.find('\\') == std::string::npos; }

Error changedElsewhere(const StartupEntry& row, const ServiceConfig& service, const std::string& kept) {
    return {ErrorKind::NotFound, 0,
            "The service \"" + row.name + "\" is " + startTypeName(service.startType) +
                " now: something else changed it since it was listed. Nothing was changed" + kept +
                ". Refresh the list."};
}

Error withRecordKept(Error error, const std::string& name) {
    error.message += (error.message.empty() ? "" : " ") +
                     std::string("The record of how the service started is kept at ") + recordPlace(name) + ".";
    return error;
}

// The record's values, then its key once it holds nothing else. A value
// that never came to be needs no removing.
Status removeRecord(Registry& registry, const std::string& name) {
    const RegistryLocation key = parkedRecordKey(name);
    for (const RegistryValue& written : parkedRecordValues({}))
        if (Status removed = registry.deleteValue(key, written.name);
            !removed && removed.error().kind != ErrorKind::NotFound)
            return removed;
    return registry.removeEmptyKey(key);
}

// The record as it stood before this switch wrote it, put back.
Status restoreRecord(Registry& registry, const std::string& name,
                     const std::optional<std::vector<RegistryValue>>& before) {
    const RegistryLocation key = parkedRecordKey(name);
    if (!before) return removeRecord(registry, name);
    for (const RegistryValue& written : parkedRecordValues({})) {
        auto old = std::find_if(before->begin(), before->end(),
                                [&](const RegistryValue& value) { return equalsNoCase(value.name, written.name); });
        Status put =
            old == before->end() ? registry.deleteValue(key, written.name) : registry.writeValue(key, *old, false);
        if (!put) return put;
    }
    return {};
}

Status writeRecord(Registry& registry, const std::string& name, const ParkedService& parked) {
    for (const RegistryValue& value : parkedRecordValues(parked))
        if (Status written = registry.writeValue(parkedRecordKey(name), value, true); !written) return written;
    auto readBack = readParkedRecord(registry, name);
    if (readBack && *readBack == parked) return {};
    return Error{ErrorKind::ReadBackMismatch, 0,
                 "The record of how the service started did not read back as written at " + recordPlace(name) + "."};
}

Status switchOff(const SourcePorts& ports, UserPrompts& prompts, const StartupEntry& row) {
    auto service = ports.services.readService(row.name);
    if (!service) return service.error();
    if (service->startType != kServiceAutoStart) return changedElsewhere(row, *service, "");
    if (row.windowsOwn) {
        const std::string question = windowsServiceQuestion(row);
        if (!prompts.ask(question, kAppTitle, MessageKind::Exclamation))
            return Error{ErrorKind::DeclinedByUser, 0, question};
    }
    const auto before = ports.registry.readValues(parkedRecordKey(row.name));
    Status off = writeRecord(ports.registry, row.name, {service->startType, service->delayed});
    if (off) off = ports.services.setServiceStart(row.name, kServiceDisabled, service->delayed);
    if (!off) {
        if (Status restored = restoreRecord(ports.registry, row.name, before); !restored)
            return Error{ErrorKind::PartlyDone, 0,
                         off.error().message + " The record written at " + recordPlace(row.name) +
                             " could not be taken back: " + restored.error().message};
        return off;
    }
    auto after = ports.services.readService(row.name);
    if (!after || after->startType != kServiceDisabled)
        return withRecordKept({ErrorKind::ReadBackMismatch, 0,
                               "The service manager took the change, but the service does not read back as Disabled."},
                              row.name);
    return {};
}

ChangeResult switchOn(const SourcePorts& ports, const StartupEntry& row) {
    auto record = readParkedRecord(ports.registry, row.name);
    if (!record) return record.error();
    if (!*record)
        return Error{ErrorKind::NotFound, 0,
                     "There is no record of how the service \"" + row.name + "\" started at " + recordPlace(row.name) +
                         ", so it is not known what to restore. Nothing was changed."};
    const ParkedService& parked = **record;
    auto service = ports.services.readService(row.name);
    if (!service) return withRecordKept(service.error(), row.name);
    if (service->startType != kServiceDisabled) return changedElsewhere(row, *service, ", and its record is kept");
    if (Status on = ports.services.setServiceStart(row.name, parked.startType, parked.delayed); !on)
        return withRecordKept(on.error(), row.name);
    auto after = ports.services.readService(row.name);
    if (!after || after->startType != parked.startType || after->delayed != parked.delayed)
        return withRecordKept({ErrorKind::ReadBackMismatch, 0,
                               "The service manager took the change, but the service does not read back as "
                               "recorded."},
                              row.name);
    if (Status removed = removeRecord(ports.registry, row.name); !removed)
        return Changed{Warning{Warning::RecordLeftBehind, removed.error()}};
    return Changed{};
}

}  // namespace

std::string windowsServiceQuestion(const StartupEntry& row) {
    const std::string shown = row.displayName.empty() ? row.name : row.displayName;
    return "\"" + shown +
           "\" is one of Windows' own services. Windows, or a part of it, may not start or work "
           "properly without it.\r\n\r\nSwitch it off all the same?";
}

ChangeResult switchService(const SourcePorts& ports, UserPrompts& prompts, const StartupEntry& row, bool on) {
    if (!namesOneRecord(row.name))
        return Error{ErrorKind::UnsafeName, 0,
                     "The service name \"" + row.name + "\" holds a backslash, so it names no one record key."};
    if (on) return switchOn(ports, row);
    if (Status off = switchOff(ports, prompts, row); !off) return off.error();
    return Changed{};
}

}  // namespace lsu
