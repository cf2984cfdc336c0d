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

bool logHoldsChanges(std::span<const std::uint8_t> log, const BaseBlock& hive) {
    auto header = readBaseBlock(log);
    if (!header || !header->checksumValid) return false;
    if (readLe32(log, kLogBaseBlockSize) == kDirtyVectorSignature)
        return header->primarySequence > hive.secondarySequence;
    for (std::size_t at = kLogBaseBlockSize; readLe32(log, at) == kLogEntrySignature;) {
        auto size = readLe32(log, at + 4);
        auto sequence = readLe32(log, at + 12);
        if (!size || !sequence || *size < kLogBaseBlockSize || *size % kLogBaseBlockSize != 0) break;
        if (*sequence >= hive.secondarySequence) return true;
        at += *size;
    }
    return false;
}

}  // namespace lsu::formats
