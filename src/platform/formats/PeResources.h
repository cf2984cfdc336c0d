#pragma once
// The resources of a PE image read as a file, without the loader's help: a
// program, a library, or a resource-only .mui file, which is a PE image too.
// The headers, the section table and the three levels of the resource
// directory (type, name, language) are read where the one before points and
// checked at every step, so a program of gigabytes costs a few small reads
// and a damaged or hostile image gives an error, never a read outside it.

#include <cstdint>
#include <span>
#include <vector>

#include "base/Result.h"
#include "platform/formats/ByteSource.h"

namespace lsu::formats {

inline constexpr std::uint32_t kStringResourceType = 6;    // RT_STRING
inline constexpr std::uint32_t kVersionResourceType = 16;  // RT_VERSION

// The bytes of the resource of this type and numbered name, when it is no
// larger than maxSize. Of its languages the first of `languages` the image
// has is taken, else one of the same primary language, else the
// language-neutral one, else the first listed, as the loader falls back.
// DamagedData when the bytes are no PE image, its resource directory does
// not hold together or the resource is larger than maxSize; NotFound when
// the image has no such resource.
Result<std::vector<std::uint8_t>> resourceData(const ByteSource& image, std::uint32_t type, std::uint32_t name,
                                               std::size_t maxSize, std::span<const std::uint16_t> languages = {});

}  // namespace lsu::formats
