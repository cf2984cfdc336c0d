#include "scanners/RegistryData.h"

#include <algorithm>
#include <cstdio>

#include "base/Utf16.h"
#include "platform/RegistryStrings.h"

namespace lsu {

namespace {

std::uint64_t littleEndian(const std::vector<std::uint8_t>& data, std::size_t size) {
    std::uint64_t number = 0;
    for (std::size_t i = size; i-- > 0;) number = (number << 8) | data[i];
    return number;
}

std::string hexBytes(const std::vector<std::uint8_t>& data) {
    std::string text;
    char byte[4];
    for (std::uint8_t b : data) {
        std::snprintf(byte, sizeof byte, "%02X", b);
        if (!text.empty()) text += ' ';
        text += byte;
    }
    return text;
}

}  // namespace

std::string renderRegistryData(const RegistryValue& value) {
    const auto& data = value.data;
    switch (value.type) {
        case kRegSz:
        case kRegExpandSz: return textOfStoredString(data);
        case kRegMultiSz: {
            std::u16string units = utf16FromBytes(data);
            while (!units.empty() && units.back() == u'\0') units.pop_back();
            std::replace(units.begin(), units.end(), u'\0', u' ');
            return utf8FromUtf16(units);
        }
        case kRegDword:
            if (data.size() == 4) return std::to_string(littleEndian(data, 4));
            break;
        case kRegQword:
            if (data.size() == 8) return std::to_string(littleEndian(data, 8));
            break;
        default: break;
    }
    return hexBytes(data);
}

}  // namespace lsu
