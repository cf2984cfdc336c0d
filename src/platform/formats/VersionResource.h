#pragma once
// Reads a program file's version resource without the system's help: the PE
// headers, the resource directory, the RT_VERSION resource and its
// VS_VERSIONINFO tree, each read where the one before points, so that a
// program of gigabytes costs a few small reads.

#include <cstdint>
#include <span>
#include <string>

#include "platform/formats/ByteSource.h"

namespace lsu::formats {

// The CompanyName string of the version resource's first translation, as
// the system's version functions find it; empty when the image has none.
std::string companyNameOfImage(const ByteSource& image);
std::string companyNameOfImage(std::span<const std::uint8_t> image);

}  // namespace lsu::formats
