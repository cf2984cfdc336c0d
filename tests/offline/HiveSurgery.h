#pragma once
// Hives shaped as hivex never writes them but Windows, or damage, does: a
// value split over a big-data record, bytes changed where a record lies,
// many values written at once. Records are found through the hive's own
// cells.

#include <cstdint>
#include <string>
#include <vector>

#include "offline/OfflineFixture.h"

namespace lsu::test {

// The file offset of the value's record (vk), found through its key.
std::size_t valueRecordOffset(const std::string& hive, const std::string& key, const std::string& name);
// The file offset of the cell the value's data lies in.
std::size_t valueDataOffset(const std::string& hive, const std::string& key, const std::string& name);

// Stores the value (a string of size bytes) as Windows stores data over
// 16,344 bytes: a "db" record, its list of segments, the segments.
void putBigDataValue(const std::string& hive, const std::string& key, const std::string& name,
                     const std::vector<std::uint8_t>& data);

void patchFile(const std::string& path, std::size_t offset, const std::vector<std::uint8_t>& bytes);
void patch32(const std::string& path, std::size_t offset, std::uint32_t value);
// Replaces the only occurrence of the bytes in the file.
void replaceOnce(const std::string& path, const std::vector<std::uint8_t>& from, const std::vector<std::uint8_t>& to);

// The values set on one key in one write, as a large hive is filled.
void fillKeyAtOnce(const std::string& hive, const std::string& key, const std::vector<HiveEntry>& values);

}  // namespace lsu::test
