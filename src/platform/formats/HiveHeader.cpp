#include "platform/formats/HiveHeader.h"

#include "platform/formats/LittleEndian.h"

namespace lsu::formats {

namespace {

constexpr std::uint32_t kRegfSignature = 0x66676572;         // "regf"
constexpr std::uint32_t kLogEntrySignature = 0x454C7648;     // "HvLE"
constexpr std::uint32_t kDirtyVectorSignature = 0x54524944;  // "DIRT"
constexpr std::size_t kLogBaseBlockSize = 512;

}  // namespace

std::uint32_t baseBlockChecksum(std::span<const std::uint8_t> block) {
    std::uint32_t sum = 0;
    for (std::size_t at = 0; at < kChecksumOffset; at += 4) sum ^= readLe32(block, at).value_or(0);
    if (sum == 0) return 1;
    if (sum == 0xFFFFFFFFu) return 0xFFFFFFFEu;
    return sum;
}

std::optional<BaseBlock> readBaseBlock(std::span<const std::uint8_t> file) {
    if (file.size() < kLogBaseBlockSize || readLe32(file, 0) != kRegfSignature) return std::nullopt;
    return BaseBlock{*readLe32(file, 4), *readLe32(file, 8),
                     readLe32(file, kChecksumOffset) == baseBlockChecksum(file)};
}

bool isDirty(const BaseBlock& hive) { return !hive.checksumValid || hive.primarySequence != hive.secondarySequence; }

bool logHoldsChanges(const ByteSource& log, const BaseBlock& hive) {
    const auto start = log.read(0, kLogBaseBlockSize + 4);
    auto header = readBaseBlock(start);
    if (!header || !header->checksumValid) return false;
    if (readLe32(start, kLogBaseBlockSize) == kDirtyVectorSignature)
        return header->primarySequence > hive.secondarySequence;
    // Each entry's header says how far the next one lies, so only headers are read.
    for (std::uint64_t at = kLogBaseBlockSize;;) {
        const auto entry = log.read(at, 16);
        auto signature = readLe32(entry, 0), size = readLe32(entry, 4), sequence = readLe32(entry, 12);
        if (signature != kLogEntrySignature || !size || !sequence) break;
        if (*size < kLogBaseBlockSize || *size % kLogBaseBlockSize != 0) break;
        if (*sequence >= hive.secondarySequence) return true;
        at += *size;
    }
    return false;
}

}  // namespace lsu::formats
