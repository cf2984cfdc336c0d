#include <gtest/gtest.h>

#include <semaphore>

#include "platform/memory/MemoryPlatform.h"
#include "support/Seed.h"
#include "ui/win32/SectionLoader.h"

namespace lsu::test {

TEST(SectionLoader, ALoadSupersededWhileItRunsNeverDeliversItsRows) {
    constexpr UINT kDone = WM_APP + 7;
    MemoryPlatform platform;
    seedRegistry(platform, SectionId::UserRun, stringValue("Stale", "stale.exe"));
    seedRegistry(platform, SectionId::UserRunOnce, stringValue("Fresh", "fresh.exe"));
    // The loader's first registry read waits until the test lets it go.
    std::binary_semaphore reached{0}, released{0};
    bool first = true;
    platform.failWhen = [&](MemoryOp op) {
        if (op == MemoryOp::RegistryRead && std::exchange(first, false)) {
            reached.release();
            released.acquire();
        }
        return false;
    };
    HWND window = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    std::vector<WPARAM> delivered;
    {
        win32::SectionLoader loader(platform, window, kDone);
        const WPARAM stale = loader.start(SectionId::UserRun);
        reached.acquire();
        const WPARAM fresh = loader.start(SectionId::UserRunOnce);
        released.release();
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
