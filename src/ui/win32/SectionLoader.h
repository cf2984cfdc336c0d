#pragma once
// Loads sections on a thread of its own, so that the window keeps painting
// and answering while the sources are read, and hands the rows to the
// window's thread a leaf at a time, so that a slow source does not hold back
// the rows read before it. A load that a newer one supersedes never
// delivers.

#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/Ports.h"
#include "scanners/SectionLoading.h"

namespace lsu::win32 {

// Rows a load has read since the window last took them.
struct LoadedRows {
    EntryList rows;
    bool complete = false;  // the load has read its last leaf
};

class SectionLoader {
public:
    // Posts `readMessage` to the window, with the load's ticket as wParam,
    // when a load has rows for it or has finished.
    SectionLoader(const ScanPorts& ports, HWND window, UINT readMessage);
    ~SectionLoader();  // waits for the load under way
    SectionLoader(const SectionLoader&) = delete;
    SectionLoader& operator=(const SectionLoader&) = delete;

    // Starts loading the section and returns the load's ticket.
    WPARAM start(SectionId id);
    // The rows the load of that ticket read since they were last taken,
    // unless a newer load was started since.
    std::optional<LoadedRows> take(WPARAM ticket);

private:
    void work();
    // Hands rows of the load of the ticket on to the window, unless a newer
    // load supersedes it; handOver with the mutex held.
    void deliver(WPARAM ticket, EntryList rows);
    void handOver(WPARAM ticket, EntryList rows, bool complete);

    ScanPorts ports_;
    HWND window_;
    UINT readMessage_;
    std::mutex mutex_;
    std::condition_variable wanted_;
    std::optional<SectionId> next_;
    WPARAM latest_ = 0;
    std::optional<LoadedRows> read_;  // of the latest ticket, not taken yet
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace lsu::win32
