#include "platform/RegistryStrings.h"

#include "base/Utf16.h"

namespace lsu {

std::vector<std::uint8_t> storedString(std::string_view text, std::uint32_t type) {
    std::u16string units = utf16FromUtf8(text);
    units.push_back(u'\0');
    if (type == kRegMultiSz) units.push_back(u'\0');
    return bytesOfUtf16(units);
}

std::string textOfStoredString(std::span<const std::uint8_t> data) {
    const std::u16string units = utf16FromBytes(data);
    return utf8FromUtf16(std::u16string_view(units).substr(0, units.find(u'\0')));
}

}  // namespace lsu
