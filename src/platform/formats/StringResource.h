#pragma once
// A string of a PE image's string table (RT_STRING), read as LoadString
// reads it: strings are kept sixteen to a block, block id/16+1 holding
// string id%16, each a count of UTF-16 units followed by the units. On
// modern Windows a system library's strings are in its .mui file (the
// language's folder beside it, System32\en-US\x.dll.mui), which is a PE
// image holding only resources and is read the same way.

#include <cstdint>
#include <span>
#include <string>

#include "base/Result.h"
#include "platform/formats/ByteSource.h"

namespace lsu::formats {

// The string with this id, up to its first NUL. NotFound when the image has
// no such string or it is empty (LoadString finds none there either);
// DamagedData when the image or the block does not hold together. The
// languages are preferred as resourceData prefers them.
Result<std::string> stringResource(const ByteSource& image, std::uint16_t id,
                                   std::span<const std::uint16_t> languages = {});
Result<std::string> stringResource(std::span<const std::uint8_t> image, std::uint16_t id,
                                   std::span<const std::uint16_t> languages = {});

}  // namespace lsu::formats
