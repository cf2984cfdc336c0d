#pragma once
// DWORD values as the registry stores them: four bytes, least significant
// first.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Registry.h"

namespace lsu {

inline std::vector<std::uint8_t> storedDword(std::uint32_t number) {
    return {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
            static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
}

// The number a REG_DWORD value of four bytes holds; nullopt for a value of
// any other type or size, which holds no number the system would read.
inline std::optional<std::uint32_t> dwordOf(const RegistryValue& value) {
    if (value.type != kRegDword || value.data.size() != 4) return std::nullopt;
    return static_cast<std::uint32_t>(value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                                      (static_cast<std::uint32_t>(value.data[3]) << 24));
}

}  // namespace lsu
