#pragma once
// The characters of an XML document, from its bytes: UTF-8 or UTF-16 in
// either byte order, as a byte order mark or the encoding of the document's
// first "<" says, held against what its declaration names.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/Result.h"

namespace lsu::formats {

// The document as UTF-8 with its line ends made "\n", as XML's rules make
// them before parsing. NULs at the end (a buffer written whole) are dropped.
Result<std::string> xmlCharactersOf(std::span<const std::uint8_t> bytes);

// The same for a document whose characters are already decoded.
std::string xmlCharactersOfText(std::string_view text);

}  // namespace lsu::formats
