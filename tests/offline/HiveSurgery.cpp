#include "offline/HiveSurgery.h"

#include <hivex.h>

#include <algorithm>
#include <gtest/gtest.h>

#include "base/CaseFolding.h"
#include "base/Utf16.h"
#include "platform/formats/HiveCells.h"
#include "platform/formats/LittleEndian.h"

namespace lsu::test {

namespace {

using formats::HiveCells;

constexpr std::size_t kBins = 4096;

std::uint32_t at32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return *formats::readLe32(bytes, offset);
}

std::size_t roundUp8(std::size_t size) { return (size + 7) & ~std::size_t{7}; }

}  // namespace

std::size_t valueRecordOffset(const std::string& hive, const std::string& key, const std::string& name) {
    auto cells = HiveCells::read(fileBytes(hive));
    if (!cells) throw std::runtime_error(hive + " is no hive");
    formats::KeyCell node = *cells->key(cells->rootKey());
    for (std::size_t start = 0; start < key.size();) {
        const std::size_t end = std::min(key.find('\\', start), key.size());
        const std::string component = key.substr(start, end - start);
        bool found = false;
        const auto subkeys = cells->subkeys(node);
        for (std::size_t child : *subkeys) {
            const formats::KeyCell cell = *cells->key(child);
            if (equalsNoCase(utf8FromUtf16(cell.name), component)) {
                node = cell;
                found = true;
                break;
            }
        }
        if (!found) throw std::runtime_error("no key " + key + " in " + hive);
        start = end + 1;
    }
    const auto values = cells->valueOffsets(node);
    for (std::size_t offset : *values) {
        auto value = cells->value(offset);
        if (value && equalsNoCase(utf8FromUtf16(value->name), name)) return offset;
    }
    throw std::runtime_error("no value " + name + " in " + key);
}

std::size_t valueDataOffset(const std::string& hive, const std::string& key, const std::string& name) {
    return at32(fileBytes(hive), valueRecordOffset(hive, key, name) + 4 + 8) + kBins;
}

void putBigDataValue(const std::string& hive, const std::string& key, const std::string& name,
                     const std::vector<std::uint8_t>& data) {
    const std::size_t segments = (data.size() + formats::kLargestCellData - 1) / formats::kLargestCellData;
    const std::size_t listSize = roundUp8(4 + 4 * segments);
    // hivex keeps it in one cell, room enough for the record, the list and the segments' own headers.
    std::vector<std::uint8_t> room(data);
    room.resize(data.size() + 16 + listSize + 8 * segments + 64, 0);
    fillHive(hive, {{key, name, kRegSz, room}});
    const std::size_t record = valueRecordOffset(hive, key, name);
    const std::size_t cell = valueDataOffset(hive, key, name);
    std::vector<std::uint8_t> file = fileBytes(hive);
    const std::size_t cellSize = static_cast<std::size_t>(-static_cast<std::int32_t>(at32(file, cell)));

    formats::LittleEndianWriter layout;
    const auto cellHeader = [&](std::size_t size) {
        layout.u32(static_cast<std::uint32_t>(-static_cast<std::int32_t>(size)));
    };
    const auto relative = [&](std::size_t at) { return static_cast<std::uint32_t>(cell + at - kBins); };
    cellHeader(16);
    layout.append(std::vector<std::uint8_t>{'d', 'b'});
    layout.u16(static_cast<std::uint16_t>(segments));
    layout.u32(relative(16));
    layout.zeros(4);
    cellHeader(listSize);
    std::size_t next = 16 + listSize;
    for (std::size_t i = 0; i < segments; ++i) {
        layout.u32(relative(next));
        const std::size_t share = std::min(formats::kLargestCellData, data.size() - i * formats::kLargestCellData);
        next += roundUp8(4 + share);
    }
    layout.zeros(16 + listSize - layout.size());
    for (std::size_t i = 0; i < segments; ++i) {
        const std::size_t from = i * formats::kLargestCellData;
        const std::size_t share = std::min(formats::kLargestCellData, data.size() - from);
        cellHeader(roundUp8(4 + share));
        layout.append(std::span(data).subspan(from, share));
        layout.zeros(roundUp8(4 + share) - 4 - share);
    }
    ASSERT_LE(layout.size() + 8, cellSize);
    layout.u32(static_cast<std::uint32_t>(cellSize - layout.size()));  // the rest is a free cell
    std::copy(layout.bytes().begin(), layout.bytes().end(), file.begin() + static_cast<std::ptrdiff_t>(cell));
    putBytes(hive, file);
    patch32(hive, record + 4 + 4, static_cast<std::uint32_t>(data.size()));
}

void patchFile(const std::string& path, std::size_t offset, const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint8_t> file = fileBytes(path);
    ASSERT_LE(offset + bytes.size(), file.size());
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
    putBytes(path, file);
}

void patch32(const std::string& path, std::size_t offset, std::uint32_t value) {
    patchFile(path, offset,
              {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
               static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
}

void replaceOnce(const std::string& path, const std::vector<std::uint8_t>& from, const std::vector<std::uint8_t>& to) {
    std::vector<std::uint8_t> file = fileBytes(path);
    auto found = std::search(file.begin(), file.end(), from.begin(), from.end());
    ASSERT_NE(found, file.end()) << path;
    ASSERT_EQ(std::search(found + 1, file.end(), from.begin(), from.end()), file.end()) << path;
    std::copy(to.begin(), to.end(), found);
    putBytes(path, file);
}

void fillKeyAtOnce(const std::string& hive, const std::string& key, const std::vector<HiveEntry>& values) {
    fillHive(hive, {{key, "", kRegSz, {}}});
    hive_h* handle = hivex_open(hive.c_str(), HIVEX_OPEN_WRITE);
    ASSERT_NE(handle, nullptr);
    hive_node_h node = hivex_root(handle);
    for (std::size_t start = 0; node && start < key.size();) {
        const std::size_t end = std::min(key.find('\\', start), key.size());
        node = hivex_node_get_child(handle, node, key.substr(start, end - start).c_str());
        start = end + 1;
    }
    std::vector<hive_set_value> set;
    for (const HiveEntry& value : values)
        set.push_back({const_cast<char*>(value.name.c_str()), hive_t_REG_SZ, value.data.size(),
                       reinterpret_cast<char*>(const_cast<std::uint8_t*>(value.data.data()))});
    EXPECT_EQ(hivex_node_set_values(handle, node, set.size(), set.data(), 0), 0);
    EXPECT_EQ(hivex_commit(handle, nullptr, 0), 0);
    hivex_close(handle);
}

}  // namespace lsu::test
