#pragma once
// The platform a test runs against: the in-memory one in the native suite, the
// real Win32 one (Wine's registry, win.ini and shell folders) in the Windows
// suite. The same tests run on both, so both obey one contract.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/Ports.h"
#include "platform/Services.h"

namespace lsu::test {

class Backend {
public:
    virtual ~Backend() = default;
    // Every port of the platform, as the product hands them on.
    virtual const ScanPorts& ports() = 0;
    // Writes a real shortcut file (through the shell's link object on Win32).
    virtual void seedShortcut(const std::string& path, const ShortcutFields& fields) = 0;
    // Whether the system stores every UTF-16 value name, unpaired surrogates
    // included; where it cannot, such a name is refused.
    virtual bool storesEveryValueName() const { return true; }
    // Makes a service as the system makes one (by default its key, as a
    // Windows that is not running keeps it); it goes with the backend.
    virtual void seedService(const ServiceConfig& service);
};

// A backend with every start-up source empty: no Run-type values in either
// view, no load= or run= lines, empty Startup and disabled-items folders.
std::unique_ptr<Backend> makeCleanBackend();

// A program on the backend whose version resource names a company, and the
// company it names.
struct ProgramWithPublisher {
    std::string path, company;
};
ProgramWithPublisher seedProgramWithPublisher(Backend& backend);

// A test that starts from a clean backend.
class BackendTest : public ::testing::Test {
protected:
    std::unique_ptr<Backend> backend = makeCleanBackend();
    const ScanPorts& platform = backend->ports();
};

}  // namespace lsu::test
