#include "platform/memory/MemoryPlatform.h"
#include "support/Backend.h"

namespace lsu::test {

namespace {

class MemoryBackend : public Backend {
public:
    Platform& platform() override { return platform_; }
    void seedShortcut(const std::string& path, const ShortcutFields& fields) override {
        platform_.putShortcut(path, fields);
    }

private:
    MemoryPlatform platform_;
};

}  // namespace

std::unique_ptr<Backend> makeCleanBackend() { return std::make_unique<MemoryBackend>(); }

ProgramWithPublisher seedProgramWithPublisher(Backend& backend) {
    ProgramWithPublisher program{backend.platform().windowsDirectory() + "\\regedit.exe", "Microsoft Corporation"};
    static_cast<MemoryPlatform&>(backend.platform()).putFile(program.path, {'M', 'Z'}, program.company);
    return program;
}

}  // namespace lsu::test
