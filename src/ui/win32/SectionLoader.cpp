#include "ui/win32/SectionLoader.h"

#include <iterator>
#include <utility>

#include "platform/win32/ShellThread.h"

namespace lsu::win32 {

SectionLoader::SectionLoader(const ScanPorts& ports, HWND window, UINT readMessage)
    : ports_(ports), window_(window), readMessage_(readMessage), worker_([this] { work(); }) {}

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
    read_.reset();
    wanted_.notify_one();
    return ++latest_;
}

std::optional<LoadedRows> SectionLoader::take(WPARAM ticket) {
    std::lock_guard lock(mutex_);
    if (ticket != latest_) return std::nullopt;
    return std::exchange(read_, std::nullopt);
}

void SectionLoader::deliver(WPARAM ticket, EntryList rows) {
    std::lock_guard lock(mutex_);
    handOver(ticket, std::move(rows), false);
}

// Rows the window has not taken yet gather; one message tells of them all.
void SectionLoader::handOver(WPARAM ticket, EntryList rows, bool complete) {
    // A newer request supersedes this load before its rows reach the window.
    if (ticket != latest_) return;
    const bool told = read_.has_value();
    if (!told) read_.emplace();
    EntryList& pending = read_->rows;
    if (pending.empty()) pending = std::move(rows);
    else pending.insert(pending.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    read_->complete = complete;
    if (!told) PostMessageW(window_, readMessage_, ticket, 0);
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
        loadSectionByLeaf(ports_, id, [&](EntryList rows) { deliver(ticket, std::move(rows)); });
        lock.lock();
        handOver(ticket, {}, true);
    }
}

}  // namespace lsu::win32
