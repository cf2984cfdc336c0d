#include "platform/formats/ShellLinkHeader.h"

#include <algorithm>
#include <array>

#include "platform/formats/LittleEndian.h"

namespace lsu::formats {

std::optional<ShellLinkHeader> readShellLinkHeader(std::span<const std::uint8_t> file) {
    static constexpr std::array<std::uint8_t, 20> kStart = {0x4C, 0, 0,    0, 0x01, 0x14, 0x02, 0, 0, 0,
                                                            0,    0, 0xC0, 0, 0,    0,    0,    0, 0, 0x46};
    if (file.size() < 0x4C || !std::equal(kStart.begin(), kStart.end(), file.begin())) return std::nullopt;
    return ShellLinkHeader{*readLe32(file, 56), *readLe32(file, 60), *readLe16(file, 64)};
}

}  // namespace lsu::formats
