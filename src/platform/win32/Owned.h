#pragma once
// One owner for every kind of Win32 handle: it closes what it holds when it
// goes, can be moved but not copied, and knows "no handle" from a real one.

#include <windows.h>

#include <type_traits>
#include <utility>

namespace lsu::win32 {

template <typename Handle, auto close>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return isHandle(handle_); }
    // Hands the handle over to whoever closes it from now on.
    Handle release() { return std::exchange(handle_, Handle{}); }
    void reset(Handle handle = Handle{}) {
        if (isHandle(handle_)) close(handle_);
        handle_ = handle;
    }

private:
    // Kernel calls answer "no handle" with either of two values.
    static bool isHandle(Handle handle) {
        if constexpr (std::is_same_v<Handle, HANDLE>) return handle != nullptr && handle != INVALID_HANDLE_VALUE;
        return handle != Handle{};
    }

    Handle handle_{};
};

using FileHandle = Owned<HANDLE, &CloseHandle>;
using FindHandle = Owned<HANDLE, &FindClose>;
using RegistryKey = Owned<HKEY, &RegCloseKey>;
using ServiceHandle = Owned<SC_HANDLE, &CloseServiceHandle>;

}  // namespace lsu::win32
