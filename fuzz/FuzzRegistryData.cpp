// Renders registry data of any type and length for the Command Line cell.
#include <cstddef>
#include <cstdint>

#include "scanners/RegistryData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    lsu::RegistryValue value{"", static_cast<std::uint32_t>(data[0] % 12), {data + 1, data + size}};
    lsu::renderRegistryData(value);
    return 0;
}
