#include "ui/win32/SectionLoader.h"

#include "platform/win32/ShellThread.h"

namespace lsu::win32 {

SectionLoader::SectionLoader(const ScanPorts& ports, HWND window, UINT doneMessage)
    : ports_(ports), window_(window), doneMessage_(doneMessage), worker_([this] { work(); }) {}

SectionLoader::~SectionLoader() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        next_.reset();
    }
    wanted_.notify_one();
    worker_.join();
}

WPARAM SectionLoader::start(SectionId id) {
    std::lock_guard lock(mutex_);
    next_ = id;
    finished_.reset();
    wanted_.notify_one();
    return ++latest_;
}

std::optional<SectionLoad> SectionLoader::take(WPARAM ticket) {
    std::lock_guard lock(mutex_);
    if (ticket != latest_ || finishedTicket_ != ticket || !finished_) return std::nullopt;
    std::optional<SectionLoad> load = std::move(finished_);
    finished_.reset();
    return load;
}

void SectionLoader::work() {
    // Reading links asks the shell's objects, which live in an apartment.
    const ShellThread shell;
    std::unique_lock lock(mutex_);
    for (;;) {
        wanted_.wait(lock, [this] { return stopping_ || next_.has_value(); });
        if (stopping_) break;
        const SectionId id = *next_;
        const WPARAM ticket = latest_;
        next_.reset();
        lock.unlock();
        SectionLoad load = loadSection(ports_, id);
        lock.lock();
        // A newer request supersedes this load before it reaches the window.
        if (ticket != latest_) continue;
        finished_ = std::move(load);
        finishedTicket_ = ticket;
        PostMessageW(window_, doneMessage_, ticket, 0);
    }
}

}  // namespace lsu::win32
