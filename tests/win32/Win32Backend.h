#pragma once
// The real Win32 platform over the throwaway prefix, every start-up source
// emptied before each test and after it.

#include <string>
#include <vector>

#include "platform/win32/Win32Platform.h"
#include "support/Backend.h"

namespace lsu::test {

class Win32Backend : public Backend {
public:
    Win32Backend();
    ~Win32Backend() override;
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;

    const ScanPorts& ports() override { return ports_; }
    // Writes the link through the shell's own link object.
    void seedShortcut(const std::string& path, const ShortcutFields& fields) override;
    // Creates the service through the service manager; it is deleted again
    // with the backend.
    void seedService(const ServiceConfig& service) override;
    Win32Platform& platform() { return platform_; }

private:
    Win32Platform platform_;
    std::vector<std::string> services_;
    ScanPorts ports_ = portsOf(platform_);
};

}  // namespace lsu::test
