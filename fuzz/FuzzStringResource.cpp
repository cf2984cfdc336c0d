// Reads any bytes as a PE image's string table (the first two bytes the id
// asked for) and version resource, and as an indirect string: a damaged
// image is refused, never read outside its bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "platform/formats/IndirectString.h"
#include "platform/formats/StringResource.h"
#include "platform/formats/VersionResource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const auto id = static_cast<std::uint16_t>(data[0] | (data[1] << 8));
    const std::span image(data + 2, size - 2);
    auto text = lsu::formats::stringResource(image, id);
    if (text && text->empty()) std::abort();
    lsu::formats::companyNameOfImage(image);
    auto indirect = lsu::formats::parseIndirectString(std::string_view(reinterpret_cast<const char*>(data), size));
    if (indirect && indirect->file.empty()) std::abort();
    return 0;
}
