#pragma once
// The base block of a registry hive file (regf) and of its transaction logs:
// enough of the published layout to tell whether a hive file holds all its
// changes, which must be known before anything writes to it.

#include <cstdint>
#include <optional>
#include <span>

#include "platform/formats/ByteSource.h"

namespace lsu::formats {

inline constexpr std::size_t kBaseBlockSize = 4096;
inline constexpr std::size_t kChecksumOffset = 508;

// The XOR of the block's first 127 double words, as the base block keeps it
// at offset 508 (0 and 0xFFFFFFFF are stored as 1 and 0xFFFFFFFE).
std::uint32_t baseBlockChecksum(std::span<const std::uint8_t> block);

struct BaseBlock {
    std::uint32_t primarySequence = 0;
    std::uint32_t secondarySequence = 0;
    bool checksumValid = false;
};

// nullopt when the bytes do not start with a base block.
std::optional<BaseBlock> readBaseBlock(std::span<const std::uint8_t> file);

// A hive whose last write did not finish: the sequence numbers differ, or the
// block does not match its checksum.
bool isDirty(const BaseBlock& hive);

// Whether a transaction log holds changes the hive file lacks: log entries
// (HvLE) numbered from the hive's last completed write on, or a dirty vector
// (DIRT) newer than it. A log that was emptied or never written holds none.
bool logHoldsChanges(const ByteSource& log, const BaseBlock& hive);

}  // namespace lsu::formats
