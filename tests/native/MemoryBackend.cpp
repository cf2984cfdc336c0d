#include "platform/memory/MemoryPlatform.h"
#include "support/Backend.h"

namespace lsu::test {

namespace {

class MemoryBackend : public Backend {
public:
    const ScanPorts& ports() override { return ports_; }
    void seedShortcut(const std::string& path, const ShortcutFields& fields) override {
        platform_.putShortcut(path, fields);
    }
    MemoryPlatform& platform() { return platform_; }

private:
    MemoryPlatform platform_;
    ScanPorts ports_ = platform_;
};

}  // namespace

std::unique_ptr<Backend> makeCleanBackend() { return std::make_unique<MemoryBackend>(); }

ProgramWithPublisher seedProgramWithPublisher(Backend& backend) {
    ProgramWithPublisher program{backend.ports().system.windowsDirectory() + "\\regedit.exe", "Microsoft Corporation"};
    MemoryPlatform& platform = static_cast<MemoryBackend&>(backend).platform();
    platform.putFile(program.path, {'M', 'Z'}, program.company);
    // Windows' own libraries name the same maker.
    platform.putFile(backend.ports().system.windowsDirectory() + "\\System32\\kernel32.dll", {'M', 'Z'},
                     program.company);
    return program;
}

}  // namespace lsu::test
