#pragma once
// Kernel handles that close themselves.

#include <windows.h>

#include <utility>

namespace lsu::win32 {

template <BOOL(WINAPI* close)(HANDLE)>
class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    ~UniqueHandle() {
        if (handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr) close(handle_);
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

private:
    HANDLE handle_;
};

using FileHandle = UniqueHandle<CloseHandle>;
using FindHandle = UniqueHandle<FindClose>;

}  // namespace lsu::win32
