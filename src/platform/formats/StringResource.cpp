#include "platform/formats/StringResource.h"

#include <algorithm>

#include "base/Utf16.h"
#include "platform/formats/LittleEndian.h"
#include "platform/formats/PeResources.h"

namespace lsu::formats {

Result<std::string> stringResource(const ByteSource& image, std::uint16_t id,
                                   std::span<const std::uint16_t> languages) {
    constexpr unsigned kStringsPerBlock = 16;
    // Sixteen counted strings of at most 65,535 units each.
    constexpr std::size_t kLargestBlock = kStringsPerBlock * (2 + 2 * std::size_t{0xFFFF});
    auto block = resourceData(image, kStringResourceType, id / kStringsPerBlock + 1u, kLargestBlock, languages);
    if (!block) return block.error();
    std::size_t at = 0;
    for (unsigned index = 0; index < id % kStringsPerBlock; ++index) {
        auto length = readLe16(*block, at);
        if (!length) return Error{ErrorKind::DamagedData, 0, "PE image: a string table block cut short"};
        at += 2 + std::size_t{*length} * 2;
    }
    auto length = readLe16(*block, at);
    if (!length || block->size() - (at + 2) < std::size_t{*length} * 2) {
        return Error{ErrorKind::DamagedData, 0, "PE image: a string table block cut short"};
    }
    std::u16string text = utf16FromBytes(std::span(*block).subspan(at + 2, std::size_t{*length} * 2));
    text.resize(std::min(text.find(u'\0'), text.size()));
    if (text.empty()) {
        std::string message = "PE image: no string ";
        message += std::to_string(id);
        return Error{ErrorKind::NotFound, 0, message};
    }
    return utf8FromUtf16(text);
}

Result<std::string> stringResource(std::span<const std::uint8_t> image, std::uint16_t id,
                                   std::span<const std::uint16_t> languages) {
    return stringResource(SpanSource(image), id, languages);
}

}  // namespace lsu::formats
