#include "offline/EmptyHive.h"

#include "platform/formats/HiveHeader.h"
#include "platform/formats/LittleEndian.h"

namespace lsu::test {

namespace {

using formats::LittleEndianWriter;

constexpr std::uint32_t kBinSize = 4096, kBinHeaderSize = 32, kRootCell = 0x20, kUnset = 0xFFFFFFFFu;
constexpr std::uint32_t kRootCellSize = 0x58, kSecurityCellSize = 0x68;

void putRootKey(LittleEndianWriter& out) {
    const std::size_t start = out.size();
    out.u32(static_cast<std::uint32_t>(-static_cast<std::int32_t>(kRootCellSize)));
    out.append(std::vector<std::uint8_t>{'n', 'k', 0x2C, 0});  // hive entry, not deletable, ASCII name
    out.zeros(8 + 4 + 4 + 4 + 4);  // written, access bits, parent, subkey counts
    for (std::uint32_t field : {kUnset, kUnset, 0u, kUnset, kRootCell + kRootCellSize, kUnset}) out.u32(field);
    out.zeros(5 * 4);  // largest names and data, work variable
    out.append(std::vector<std::uint8_t>{4, 0, 0, 0, 'R', 'O', 'O', 'T'});  // name and class lengths, name
    out.zeros(start + kRootCellSize - out.size());
}

// Owner Administrators, group SYSTEM, Everyone allowed full access, inherited by subkeys.
void putSecurityCell(LittleEndianWriter& out) {
    const std::size_t start = out.size();
    out.u32(static_cast<std::uint32_t>(-static_cast<std::int32_t>(kSecurityCellSize)));
    out.append(std::vector<std::uint8_t>{'s', 'k', 0, 0});
    const std::uint32_t self = kRootCell + kRootCellSize;
    for (std::uint32_t field : {self, self, 1u, 76u}) out.u32(field);
    out.append(std::vector<std::uint8_t>{1, 0, 0x04, 0x80});
    for (std::uint32_t field : {48u, 64u, 0u, 20u}) out.u32(field);
    out.append(std::vector<std::uint8_t>{2, 0, 28, 0, 1, 0, 0, 0, 0, 0x02, 20, 0});
    out.u32(0x000F003F);
    out.append(std::vector<std::uint8_t>{1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0,                     // Everyone
                                         1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 0x02, 0, 0,  // Administrators
                                         1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0});                  // SYSTEM
    out.zeros(start + kSecurityCellSize - out.size());
}

}  // namespace

std::vector<std::uint8_t> emptyHiveBytes() {
    LittleEndianWriter out;
    out.append(std::vector<std::uint8_t>{'r', 'e', 'g', 'f'});
    for (std::uint32_t field : {1u, 1u, 0u, 0u, 1u, 5u, 0u, 1u, kRootCell, kBinSize, 1u}) out.u32(field);
    out.zeros(formats::kBaseBlockSize - out.size());
    out.patch32(formats::kChecksumOffset, formats::baseBlockChecksum(out.bytes()));

    out.append(std::vector<std::uint8_t>{'h', 'b', 'i', 'n', 0, 0, 0, 0, 0, 0x10, 0, 0});  // at 0, 4096 bytes
    out.zeros(kBinHeaderSize - 12);
    putRootKey(out);
    putSecurityCell(out);
    out.u32(static_cast<std::uint32_t>(formats::kBaseBlockSize + kBinSize - out.size()));  // one free cell
    out.zeros(formats::kBaseBlockSize + kBinSize - out.size());
    return std::move(out.bytes());
}

}  // namespace lsu::test
