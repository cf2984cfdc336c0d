#pragma once
// An empty registry hive file written from the published regf layout: a
// base block with its checksum, and one hive bin holding the root key, its
// security cell and free space. hivex fills it from there.

#include <cstdint>
#include <vector>

namespace lsu::test {

std::vector<std::uint8_t> emptyHiveBytes();

}  // namespace lsu::test
