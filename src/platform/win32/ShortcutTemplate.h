#pragma once
// The link the shell's link object completes into every new link: a whole
// shell link to C:\boot.ini, which the link object can open, fill in and
// save, as the system's own link files start.

#include <array>
#include <cstdint>

namespace lsu::win32 {

inline constexpr std::size_t kLinkTemplateSize = 275;
inline constexpr const char* kTemplateComputerName = "LSUHOST";

const std::array<std::uint8_t, kLinkTemplateSize>& linkTemplate();

}  // namespace lsu::win32
