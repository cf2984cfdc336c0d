#include "ui/win32/SectionLoader.h"

#include <iterator>
#include <utility>

#include "platform/win32/ShellThread.h"

namespace lsu::win32 {

SectionLoader::SectionLoader(const ScanPorts& ports, HWND window, UINT rowsMessage)
    : ports_(ports), window_(window), rowsMessage_(rowsMessage), worker_([this] { work(); }) {}

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
    read_.clear();
    finished_ = false;
    wanted_.notify_one();
    return ++latest_;
}

std::optional<SectionLoader::Delivery> SectionLoader::take(WPARAM ticket) {
    std::lock_guard lock(mutex_);
    if (ticket != latest_) return std::nullopt;
    Delivery delivery{std::exchange(read_, {}), finished_};
    finished_ = false;
    return delivery;
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
        // A newer request supersedes this load before its next rows reach the window.
        loadSectionInBatches(ports_, id, [&](EntryList rows) {
            std::lock_guard batch(mutex_);
            if (ticket != latest_) return false;
            read_.insert(read_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
            PostMessageW(window_, rowsMessage_, ticket, 0);
            return true;
        });
        lock.lock();
        if (ticket != latest_) continue;
        finished_ = true;
        PostMessageW(window_, rowsMessage_, ticket, 0);
    }
}

}  // namespace lsu::win32
