#pragma once
// An open registry key that closes itself.

#include <windows.h>

#include <utility>

#include "platform/Platform.h"

namespace lsu::win32 {

class RegistryKey {
public:
    RegistryKey() = default;
    explicit RegistryKey(HKEY key) : key_(key) {}
    ~RegistryKey() {
        if (key_) RegCloseKey(key_);
    }
    RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegistryKey& operator=(RegistryKey&& other) noexcept {
        std::swap(key_, other.key_);
        return *this;
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    HKEY get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }

    // Reading asks for read rights only; writing for what it needs.
    static RegistryKey openForReading(const RegistryLocation& location);
    static RegistryKey openForWriting(const RegistryLocation& location, bool create);

private:
    HKEY key_ = nullptr;
};

}  // namespace lsu::win32
