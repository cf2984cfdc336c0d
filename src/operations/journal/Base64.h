#pragma once
// Bytes as base64 text (RFC 4648, padded), and back: text that is not exactly
// such base64 gives nothing rather than bytes it may not mean.

#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace lsu {

std::string base64Of(const Bytes& bytes);
std::optional<Bytes> bytesOfBase64(std::string_view text);

}  // namespace lsu
