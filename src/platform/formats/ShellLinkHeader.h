#pragma once
// The fixed header every shell link starts with: whether a file is a link at
// all, and the numbers it keeps there. (liblnk 20181227 reads the hot key
// as 0 whatever the file holds, so the header is read here.)

#include <cstdint>
#include <optional>
#include <span>

namespace lsu::formats {

inline constexpr std::size_t kShellLinkHeaderSize = 0x4C;

struct ShellLinkHeader {
    std::uint32_t iconIndex = 0;
    std::uint32_t showCommand = 1;
    std::uint16_t hotKey = 0;
};

// nullopt when the bytes do not start with a shell link header.
std::optional<ShellLinkHeader> readShellLinkHeader(std::span<const std::uint8_t> file);

}  // namespace lsu::formats
