#include "platform/formats/HiveCells.h"

#include <algorithm>
#include <cstdio>

#include "platform/formats/HiveHeader.h"
#include "platform/formats/LittleEndian.h"

namespace lsu::formats {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t kBinHeaderSize = 32;
constexpr std::size_t kBinAlignment = 4096;
constexpr std::uint32_t kNoCell = 0xFFFFFFFFu;
constexpr std::uint32_t kInlineData = 0x80000000u;
constexpr std::uint16_t kKeyNameCompressed = 0x0020;
constexpr std::uint16_t kValueNameCompressed = 0x0001;
constexpr std::size_t kKeyNameAt = 76;
constexpr std::size_t kValueNameAt = 20;

bool signed2(Bytes payload, const char (&signature)[3]) {
    return payload.size() >= 2 && payload[0] == static_cast<std::uint8_t>(signature[0]) &&
           payload[1] == static_cast<std::uint8_t>(signature[1]);
}

std::uint32_t field32(Bytes bytes, std::size_t at) { return readLe32(bytes, at).value_or(0); }
std::uint16_t field16(Bytes bytes, std::size_t at) { return readLe16(bytes, at).value_or(0); }

// UTF-16 units, or one Latin-1 character per byte when the record says the
// name was stored compressed.
std::u16string storedName(Bytes stored, bool compressed) {
    std::u16string name;
    if (compressed) {
        name.assign(stored.begin(), stored.end());
        return name;
    }
    for (std::size_t at = 0; at + 1 < stored.size(); at += 2)
        name += static_cast<char16_t>(stored[at] | (stored[at + 1] << 8));
    return name;
}

Error damageAt(std::size_t offset, const std::string& what) {
    char at[24];
    std::snprintf(at, sizeof at, "0x%zx", offset);
    return Error{ErrorKind::DamagedData, 0, "at offset " + std::string(at) + ", " + what};
}

}  // namespace

HiveCells::HiveCells(std::vector<std::uint8_t> file, std::vector<Bin> bins, std::size_t root, std::uint32_t minor)
    : file_(std::move(file)), bins_(std::move(bins)), root_(root), minor_(minor) {}

std::optional<HiveCells> HiveCells::read(std::vector<std::uint8_t> file) {
    auto base = readBaseBlock(file);
    if (!base || file.size() < kBaseBlockSize) return std::nullopt;
    const std::uint32_t minor = field32(file, 24);
    const std::size_t root = std::size_t{field32(file, 36)} + kBaseBlockSize;
    const std::size_t end = std::min<std::size_t>(kBaseBlockSize + std::size_t{field32(file, 40)}, file.size());
    // The bins up to the first that is not where the one before ends: what
    // lies beyond is out of reach, and reported as damage when a link leads
    // there.
    std::vector<Bin> bins;
    for (std::size_t at = kBaseBlockSize; at + kBinHeaderSize <= end;) {
        const Bytes header = Bytes(file).subspan(at, kBinHeaderSize);
        const std::uint32_t size = field32(header, 8);
        if (!signed2(header, "hb") || header[2] != 'i' || header[3] != 'n' ||
            field32(header, 4) != at - kBaseBlockSize || size < kBinAlignment || size % kBinAlignment != 0 ||
            size > end - at)
            break;
        bins.push_back({at, at + size});
        at += size;
    }
    if (bins.empty()) return std::nullopt;
    return HiveCells(std::move(file), std::move(bins), root, minor);
}

Result<std::span<const std::uint8_t>> HiveCells::cell(std::uint32_t relative, const char* what) const {
    const std::size_t offset = std::size_t{relative} + kBaseBlockSize;
    auto bin = std::upper_bound(bins_.begin(), bins_.end(), offset,
                                [](std::size_t at, const Bin& candidate) { return at < candidate.start; });
    if (relative == kNoCell || bin == bins_.begin() || offset >= std::prev(bin)->end)
        return damageAt(offset, std::string(what) + " lies outside the hive's bins");
    --bin;
    if (offset < bin->start + kBinHeaderSize || offset % 8 != 0 || bin->end - offset < 8)
        return damageAt(offset, std::string(what) + " is not at the start of a cell");
    const auto size = static_cast<std::int32_t>(field32(file_, offset));
    if (size >= 0) return damageAt(offset, std::string(what) + " is a free cell");
    const std::size_t length = static_cast<std::size_t>(-static_cast<std::int64_t>(size));
    if (length < 8 || length > bin->end - offset)
        return damageAt(offset, std::string(what) + " is a cell that does not fit its bin");
    return Bytes(file_).subspan(offset + 4, length - 4);
}

Result<std::span<const std::uint8_t>> HiveCells::record(std::size_t offset, const char (&signature)[3],
                                                        const char* what) const {
    if (offset < kBaseBlockSize || offset - kBaseBlockSize >= kNoCell)
        return damageAt(offset, std::string(what) + " lies outside the hive");
    auto found = cell(static_cast<std::uint32_t>(offset - kBaseBlockSize), what);
    if (found && !signed2(*found, signature)) return damageAt(offset, std::string(what) + " is a cell of another kind");
    return found;
}

Result<KeyCell> HiveCells::key(std::size_t offset) const {
    auto found = record(offset, "nk", "a key");
    if (!found) return found.error();
    const Bytes payload = *found;
    const std::size_t nameLength = field16(payload, 72);
    if (payload.size() < kKeyNameAt + nameLength) return damageAt(offset, "a key's name runs past its cell");
    KeyCell key;
    key.offset = offset;
    key.name = storedName(payload.subspan(kKeyNameAt, nameLength), field16(payload, 2) & kKeyNameCompressed);
    key.subkeyCount = field32(payload, 20);
    key.subkeyList = field32(payload, 28);
    key.valueCount = field32(payload, 36);
    key.valueList = field32(payload, 40);
    return key;
}

Result<std::vector<std::size_t>> HiveCells::listedSubkeys(std::uint32_t list, int depth) const {
    auto found = cell(list, "a subkey list");
    if (!found) return found.error();
    const Bytes payload = *found;
    const std::size_t offset = std::size_t{list} + kBaseBlockSize;
    const std::size_t count = field16(payload, 2);
    const bool indexed = signed2(payload, "lf") || signed2(payload, "lh");
    const bool plain = signed2(payload, "li") || signed2(payload, "ri");
    const std::size_t stride = indexed ? 8 : 4;
    if ((!indexed && !plain) || payload.size() < 4 + count * stride)
        return damageAt(offset, "a subkey list is no list of keys");
    std::vector<std::size_t> keys;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t entry = field32(payload, 4 + i * stride);
        if (!signed2(payload, "ri")) {
            keys.push_back(std::size_t{entry} + kBaseBlockSize);
            continue;
        }
        if (depth > 0) return damageAt(offset, "an index of subkey lists holds another index");
        auto inner = listedSubkeys(entry, depth + 1);
        if (!inner) return inner.error();
        const auto& more = *inner;
        keys.insert(keys.end(), more.begin(), more.end());
    }
    return keys;
}

Result<std::vector<std::size_t>> HiveCells::subkeys(const KeyCell& key) const {
    if (key.subkeyCount == 0) return std::vector<std::size_t>{};
    auto keys = listedSubkeys(key.subkeyList, 0);
    if (keys && keys->size() != key.subkeyCount)
        return damageAt(key.offset, "a key's subkey lists do not hold the number of subkeys it gives");
    return keys;
}

Result<std::vector<std::size_t>> HiveCells::valueOffsets(const KeyCell& key) const {
    if (key.valueCount == 0) return std::vector<std::size_t>{};
    auto found = cell(key.valueList, "a value list");
    if (!found) return found.error();
    const Bytes payload = *found;
    if (payload.size() / 4 < key.valueCount)
        return damageAt(std::size_t{key.valueList} + kBaseBlockSize, "a value list is shorter than its key's values");
    std::vector<std::size_t> values;
    values.reserve(key.valueCount);
    for (std::size_t i = 0; i < key.valueCount; ++i)
        values.push_back(std::size_t{field32(payload, i * 4)} + kBaseBlockSize);
    return values;
}

Result<std::vector<std::uint8_t>> HiveCells::bigData(Bytes record, std::size_t offset, std::size_t size) const {
    const std::size_t segments = field16(record, 2);
    auto found = cell(field32(record, 4), "a big-data segment list");
    if (!found) return found.error();
    const Bytes list = *found;
    if (list.size() / 4 < segments) return damageAt(offset, "a big-data record lists more segments than it holds");
    std::vector<std::uint8_t> data;
    for (std::size_t i = 0; i < segments && data.size() < size; ++i) {
        auto segment = cell(field32(list, i * 4), "a big-data segment");
        if (!segment) return segment.error();
        const Bytes bytes = *segment;
        const std::size_t take = std::min(size - data.size(), kLargestCellData);
        if (bytes.size() < take) return damageAt(offset, "a big-data segment is shorter than its share of the data");
        data.insert(data.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(take));
    }
    if (data.size() != size) return damageAt(offset, "a big-data record's segments hold less than its value's size");
    return data;
}

Result<ValueCell> HiveCells::value(std::size_t offset) const {
    auto found = record(offset, "vk", "a value");
    if (!found) return found.error();
    const Bytes payload = *found;
    const std::size_t nameLength = field16(payload, 2);
    if (payload.size() < kValueNameAt + nameLength) return damageAt(offset, "a value's name runs past its cell");
    ValueCell value;
    value.offset = offset;
    value.name = storedName(payload.subspan(kValueNameAt, nameLength), field16(payload, 16) & kValueNameCompressed);
    value.type = field32(payload, 12);
    const std::uint32_t size = field32(payload, 4);
    if (size & kInlineData) {
        // Up to four bytes stand in the record, where a data cell's offset would.
        const std::size_t length = size & ~kInlineData;
        if (length > 4) return damageAt(offset, "a value claims more inline data than a record holds");
        value.data.assign(payload.begin() + 8, payload.begin() + 8 + static_cast<std::ptrdiff_t>(length));
        return value;
    }
    if (size == 0) return value;
    auto data = cell(field32(payload, 8), "a value's data");
    if (!data) return data.error();
    const Bytes stored = *data;
    if (size > kLargestCellData && signed2(stored, "db") && stored.size() >= 8 &&
        (minor_ >= 4 || stored.size() < size)) {
        auto whole = bigData(stored, offset, size);
        if (!whole) return whole.error();
        value.data = std::move(*whole);
        value.bigData = true;
        return value;
    }
    if (stored.size() < size) return damageAt(offset, "a value's data cell is shorter than its data");
    value.data.assign(stored.begin(), stored.begin() + size);
    return value;
}

}  // namespace lsu::formats
