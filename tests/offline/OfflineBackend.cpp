#include <gtest/gtest.h>

#include "offline/OfflineFixture.h"
#include "operations/ShortcutWriter.h"
#include "support/Backend.h"

namespace lsu::test {

namespace {

// Each backend is a fresh Windows tree of its own on the suite's NTFS volume.
class OfflineBackend : public Backend {
public:
    OfflineBackend() : tree_(makeWindowsTree(suiteVolume().mountPoint())) { openPlatform(tree_, platform_); }
    Platform& platform() override { return *platform_; }
    // As the program writes links: its template, completed.
    void seedShortcut(const std::string& path, const ShortcutFields& fields) override {
        if (!writeLinkTemplate(*platform_, path) || !platform_->completeShortcut(path, fields))
            ADD_FAILURE() << "the link writer could not write " << path;
    }
    const char* name() const override { return "offline"; }

private:
    std::string tree_;
    std::unique_ptr<offline::OfflinePlatform> platform_;
};

}  // namespace

std::unique_ptr<Backend> makeCleanBackend() { return std::make_unique<OfflineBackend>(); }

}  // namespace lsu::test
