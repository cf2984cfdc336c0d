#include <gtest/gtest.h>

#include <algorithm>

#include "platform/memory/MemoryPlatform.h"
#include "platform/win32/Owned.h"
#include "support/Seed.h"
#include "ui/win32/SectionLoader.h"

namespace lsu::test {

TEST(SectionLoader, ALoadSupersededWhileItRunsNeverDeliversItsRows) {
    constexpr UINT kDone = WM_APP + 7;
    MemoryPlatform platform;
    seedRegistry(platform, SectionId::UserRun, stringValue("Stale", "stale.exe"));
    seedRegistry(platform, SectionId::UserRunOnce, stringValue("Fresh", "fresh.exe"));
    // The loader's first registry read waits until the test lets it go.
    const win32::FileHandle reached(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    const win32::FileHandle released(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    bool first = true;
    platform.failWhen = [&](MemoryOp op) {
        if (op == MemoryOp::RegistryRead && std::exchange(first, false))
            SignalObjectAndWait(reached.get(), released.get(), INFINITE, FALSE);
        return false;
    };
    HWND window = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    std::vector<WPARAM> delivered;
    {
        win32::SectionLoader loader(platform, window, kDone);
        const WPARAM stale = loader.start(SectionId::UserRun);
        WaitForSingleObject(reached.get(), INFINITE);
        const WPARAM fresh = loader.start(SectionId::UserRunOnce);
        SetEvent(released.get());
        EntryList rows;
        bool finished = false;
        MSG message;
        while (!finished && GetMessageW(&message, window, kDone, kDone) > 0) {
            if (message.wParam != fresh) delivered.push_back(message.wParam);
            EXPECT_FALSE(loader.take(stale));
            auto delivery = loader.take(message.wParam);
            if (!delivery) continue;
            rows.insert(rows.end(), delivery->rows.begin(), delivery->rows.end());
            finished = delivery->finished;
        }
        EXPECT_EQ(cells(rows, Column::Name), Texts{"Fresh"});
        EXPECT_EQ(delivered, std::vector<WPARAM>{});
    }
    DestroyWindow(window);
}

// The task scheduler can take a second to answer: the rows read before it
// reach the window while it is still being asked.
TEST(SectionLoader, RowsReadBeforeASlowSourceReachTheWindowWhileItIsRead) {
    constexpr UINT kRead = WM_APP + 8;
    MemoryPlatform platform;
    seedRegistry(platform, SectionId::UserRun, stringValue("Early", "early.exe"));
    const win32::FileHandle released(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    platform.failWhen = [&](MemoryOp op) {
        if (op == MemoryOp::TaskRead) WaitForSingleObject(released.get(), INFINITE);
        return false;
    };
    HWND window = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    {
        win32::SectionLoader loader(platform, window, kRead);
        const WPARAM ticket = loader.start(SectionId::AllPrograms);
        MSG message;
        ASSERT_GT(GetMessageW(&message, window, kRead, kRead), 0);
        const auto delivery = loader.take(ticket);
        SetEvent(released.get());
        ASSERT_TRUE(delivery);
        EXPECT_EQ(cells(delivery->rows, Column::Name), Texts{"Early"});
        EXPECT_FALSE(delivery->finished);
    }
    DestroyWindow(window);
}

}  // namespace lsu::test
