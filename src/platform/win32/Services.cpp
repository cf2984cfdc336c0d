// Services, only ever through the service manager: it holds their
// configuration in its own memory and writes their registry keys itself, so
// a change made to the keys behind its back would be lost or overwritten.

#include <windows.h>
#include <shlwapi.h>

#include <vector>

#include "platform/RegistryNumbers.h"
#include "platform/RegistryStrings.h"
#include "platform/win32/Owned.h"
#include "platform/win32/SystemErrors.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"

namespace lsu {

using win32::errorOf;
using win32::narrow;
using win32::ServiceHandle;
using win32::widen;

namespace {

constexpr const char* kDelayedValue = "DelayedAutostart";

RegistryLocation serviceKey(const std::string& name) {
    return {Hive::LocalMachine, RegistryView::Bits64, "SYSTEM\\CurrentControlSet\\Services\\" + name};
}

Error lastError() { return errorOf(GetLastError()); }

Result<ServiceHandle> openManager() {
    ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE));
    if (!manager) return lastError();
    return manager;
}

Result<ServiceHandle> openService(const std::string& name, DWORD access) {
    auto manager = openManager();
    if (!manager) return manager.error();
    ServiceHandle service(OpenServiceW(manager->get(), widen(name).c_str(), access));
    if (!service) return lastError();
    return service;
}

// The configuration as the manager holds it; asked again with the size it
// names while it grows.
Result<std::vector<BYTE>> queryConfig(SC_HANDLE service) {
    std::vector<BYTE> buffer(sizeof(QUERY_SERVICE_CONFIGW) + 1024);
    for (;;) {
        DWORD needed = 0;
        if (QueryServiceConfigW(service, reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data()),
                                static_cast<DWORD>(buffer.size()), &needed))
            return buffer;
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size()) return lastError();
        buffer.resize(needed);
    }
}

std::string textOf(const wchar_t* text) { return text ? narrow(text) : std::string(); }

// A display name kept as a reference to a library's string, read as the
// shell reads it; empty when it cannot be.
std::string displayTextOf(const wchar_t* stored) {
    if (!stored || stored[0] != L'@') return textOf(stored);
    wchar_t text[1024] = {};
    if (FAILED(SHLoadIndirectString(stored, text, static_cast<UINT>(std::size(text)), nullptr))) return {};
    return narrow(text);
}

}  // namespace

// Wine's service manager answers ERROR_INVALID_LEVEL to the delayed-start
// level, both to ask and to change; there the flag stands only in the
// service's key, where Windows keeps it too, and is read from there.
Result<bool> Win32Platform::delayedStart(SC_HANDLE service, const std::string& name) {
    SERVICE_DELAYED_AUTO_START_INFO info = {};
    DWORD needed = 0;
    if (QueryServiceConfig2W(service, SERVICE_CONFIG_DELAYED_AUTO_START_INFO, reinterpret_cast<BYTE*>(&info),
                             sizeof info, &needed))
        return info.fDelayedAutostart != FALSE;
    if (GetLastError() != ERROR_INVALID_LEVEL) return lastError();
    auto stored = readValue(serviceKey(name), kDelayedValue);
    return stored && dwordOf(*stored).value_or(0) != 0;
}

// Where the manager does not know the level, no manager holds the flag in
// memory to write it again, and the key is the only place it is kept.
Status Win32Platform::setDelayedStart(SC_HANDLE service, const std::string& name, bool delayed) {
    SERVICE_DELAYED_AUTO_START_INFO info = {delayed ? TRUE : FALSE};
    if (ChangeServiceConfig2W(service, SERVICE_CONFIG_DELAYED_AUTO_START_INFO, &info)) return {};
    if (GetLastError() != ERROR_INVALID_LEVEL) return lastError();
    return writeValue(serviceKey(name), {kDelayedValue, kRegDword, storedDword(delayed ? 1 : 0)}, false);
}

Result<ServiceConfig> Win32Platform::configOf(SC_HANDLE service, const std::string& name) {
    auto buffer = queryConfig(service);
    if (!buffer) return buffer.error();
    const auto& stored = *reinterpret_cast<const QUERY_SERVICE_CONFIGW*>(buffer->data());
    ServiceConfig config;
    config.name = name;
    config.displayName = displayTextOf(stored.lpDisplayName);
    config.type = stored.dwServiceType;
    config.startType = stored.dwStartType;
    config.imagePath = textOf(stored.lpBinaryPathName);
    // Only an automatic service waits for the others.
    if (config.startType == kServiceAutoStart) {
        auto delayed = delayedStart(service, name);
        if (!delayed) return delayed.error();
        config.delayed = *delayed;
    }
    // A shared process finds the library it loads for the service in the
    // service's Parameters key, or else in the service's own key.
    if (config.type & kServiceShareProcess) {
        auto library = readValue(serviceKey(name + "\\Parameters"), "ServiceDll");
        if (!library) library = readValue(serviceKey(name), "ServiceDll");
        if (library && (library->type == kRegSz || library->type == kRegExpandSz))
            config.serviceDll = textOfStoredString(library->data);
    }
    return config;
}

Result<std::vector<ServiceConfig>> Win32Platform::listServices() {
    auto manager = openManager();
    if (!manager) return manager.error();
    std::vector<std::string> names;
    std::vector<BYTE> buffer(std::size_t{64} * 1024);
    for (DWORD resume = 0;;) {
        DWORD needed = 0, count = 0;
        const BOOL done =
            EnumServicesStatusExW(manager->get(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL, buffer.data(),
                                  static_cast<DWORD>(buffer.size()), &needed, &count, &resume, nullptr);
        if (!done && GetLastError() != ERROR_MORE_DATA) return lastError();
        const auto* listed = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSW*>(buffer.data());
        for (DWORD i = 0; i < count; ++i) names.push_back(narrow(listed[i].lpServiceName));
        if (done) break;
        // The next service did not fit: the manager goes on from it, with
        // room for it.
        if (count == 0) buffer.resize(std::max<std::size_t>(needed, buffer.size() * 2));
    }
    std::vector<ServiceConfig> services;
    services.reserve(names.size());
    for (const std::string& name : names) {
        // A service removed since it was listed is no longer one.
        ServiceHandle service(OpenServiceW(manager->get(), widen(name).c_str(), SERVICE_QUERY_CONFIG));
        if (!service) continue;
        auto config = configOf(service.get(), name);
        if (config && isWin32Service(config->type)) services.push_back(std::move(*config));
    }
    return services;
}

Result<ServiceConfig> Win32Platform::readService(const std::string& name) {
    auto service = openService(name, SERVICE_QUERY_CONFIG);
    if (!service) return service.error();
    return configOf(service->get(), name);
}

Status Win32Platform::setServiceStart(const std::string& name, std::uint32_t startType, bool delayed) {
    auto service = openService(name, SERVICE_CHANGE_CONFIG | SERVICE_QUERY_CONFIG);
    if (!service) return service.error();
    auto current = configOf(service->get(), name);
    if (!current) return current.error();
    // The flag stays stored while the service is not automatic.
    auto storedDelayed = delayedStart(service->get(), name);
    if (!storedDelayed) return storedDelayed.error();
    auto setStart = [&](std::uint32_t type) {
        return win32::resultOfCall(ChangeServiceConfigW(service->get(), SERVICE_NO_CHANGE, type, SERVICE_NO_CHANGE,
                                                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
    };
    if (Status started = setStart(startType); !started) return started;
    if (delayed == *storedDelayed) return {};
    Status flag = setDelayedStart(service->get(), name, delayed);
    if (flag) return {};
    if (setStart(current->startType)) return flag.error();
    return Error{ErrorKind::PartlyDone, flag.error().code,
                 "The start type of the service \"" + name +
                     "\" was changed, but its delayed start could not be, "
                     "and the start type could not be put back: " +
                     flag.error().message};
}

Status Win32Platform::startService(const std::string& name) {
    auto service = openService(name, SERVICE_START);
    if (!service) return service.error();
    return win32::resultOfCall(StartServiceW(service->get(), 0, nullptr));
}

}  // namespace lsu
