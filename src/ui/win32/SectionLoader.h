#pragma once
// Loads sections on a thread of its own, so that the window keeps painting
// and answering while the sources are read, and hands each load's rows to
// the window's thread leaf by leaf, as soon as each is read. A load that a
// newer one supersedes never delivers again.

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
    // Posts `rowsMessage` to the window, with the load's ticket as wParam,
    // when a load has read more rows and when it has finished.
    SectionLoader(const ScanPorts& ports, HWND window, UINT rowsMessage);
    ~SectionLoader();  // waits for the load under way
    SectionLoader(const SectionLoader&) = delete;
    SectionLoader& operator=(const SectionLoader&) = delete;

    // Starts loading the section and returns the load's ticket.
    WPARAM start(SectionId id);
    // The rows a load has read since they were last taken, and whether it
    // has finished.
    struct Delivery {
        EntryList rows;
        bool finished = false;
    };
    // What the load of that ticket delivers, unless a newer load was started
    // since.
    std::optional<Delivery> take(WPARAM ticket);

private:
    void work();

    ScanPorts ports_;
    HWND window_;
    UINT rowsMessage_;
    std::mutex mutex_;
    std::condition_variable wanted_;
    std::optional<SectionId> next_;
    WPARAM latest_ = 0;
    EntryList read_;  // of the latest load, not yet taken
    bool finished_ = false;
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace lsu::win32
