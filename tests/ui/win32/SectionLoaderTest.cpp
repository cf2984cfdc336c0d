#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "platform/memory/MemoryPlatform.h"
#include "support/Seed.h"
#include "ui/win32/SectionLoader.h"

namespace lsu::test {

namespace {

constexpr UINT kDone = WM_APP + 7;

// Holds the loader's first registry read until the test lets it go.
struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    bool reached = false, open = false;

    void waitHere() {
        std::unique_lock lock(mutex);
        reached = true;
        changed.notify_all();
        changed.wait(lock, [&] { return open; });
    }
};

}  // namespace

TEST(SectionLoader, ALoadSupersededWhileItRunsNeverDeliversItsRows) {
    MemoryPlatform platform;
    seedRegistry(platform, SectionId::UserRun, stringValue("Stale", "stale.exe"));
    seedRegistry(platform, SectionId::UserRunOnce, stringValue("Fresh", "fresh.exe"));
    Gate gate;
    bool first = true;
    platform.failWhen = [&](MemoryOp op) {
        if (op == MemoryOp::RegistryRead && std::exchange(first, false)) gate.waitHere();
        return false;
    };
    HWND window = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    std::vector<WPARAM> delivered;
    {
        win32::SectionLoader loader(platform, window, kDone);
        const WPARAM stale = loader.start(SectionId::UserRun);
        {
            std::unique_lock lock(gate.mutex);
            gate.changed.wait(lock, [&] { return gate.reached; });
        }
        const WPARAM fresh = loader.start(SectionId::UserRunOnce);
        {
            std::lock_guard lock(gate.mutex);
            gate.open = true;
        }
        gate.changed.notify_all();
        std::optional<SectionLoad> load;
        MSG message;
        while (!load && GetMessageW(&message, window, kDone, kDone) > 0) {
            delivered.push_back(message.wParam);
            EXPECT_FALSE(loader.take(stale));
            load = loader.take(message.wParam);
        }
        ASSERT_TRUE(load);
        ASSERT_EQ(load->rows.size(), 1u);
        EXPECT_EQ(load->rows[0].name, "Fresh");
        EXPECT_EQ(delivered, std::vector<WPARAM>{fresh});
        EXPECT_FALSE(loader.busy());
    }
    DestroyWindow(window);
}

}  // namespace lsu::test
