#pragma once
// Loads sections on a thread of its own, so that the window keeps painting
// and answering while the sources are read, and hands each load's rows to
// the window's thread. A load that a newer one supersedes never delivers.

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/Ports.h"
#include "scanners/SectionLoading.h"

namespace lsu::win32 {

class SectionLoader {
public:
    // Posts `doneMessage` to the window, with the load's ticket as wParam,
    // when a load has finished.
    SectionLoader(const ScanPorts& ports, HWND window, UINT doneMessage);
    ~SectionLoader();  // waits for the load under way
    SectionLoader(const SectionLoader&) = delete;
    SectionLoader& operator=(const SectionLoader&) = delete;

    // Starts loading the section and returns the load's ticket.
    WPARAM start(SectionId id);
    // The finished load of that ticket, unless a newer load was started since.
    std::optional<SectionLoad> take(WPARAM ticket);

private:
    void work();

    ScanPorts ports_;
    HWND window_;
    UINT doneMessage_;
    std::mutex mutex_;
    std::condition_variable wanted_;
    std::optional<SectionId> next_;
    WPARAM latest_ = 0;
    std::optional<SectionLoad> finished_;
    WPARAM finishedTicket_ = 0;
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace lsu::win32
