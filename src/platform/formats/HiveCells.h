#pragma once
// The keys and values of a registry hive file, read from its bytes through
// the published regf layout: the bins that tile the file after its base
// block, the cells in them, key nodes ("nk"), their subkey lists ("lf",
// "lh", "li", "ri") and value lists, value records ("vk") and their data,
// inline, in one cell, or split over the segments of a big-data record
// ("db"). Every offset is checked to name an allocated cell inside one bin
// before it is followed, and what does not hold together is reported as
// damage (DamagedData, its message naming the offset), never guessed at.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/Result.h"

namespace lsu::formats {

// Offsets here are of the file, as hivex numbers its node and value
// handles: a cell's offset within the bins plus the base block's 4096.

struct KeyCell {
    std::size_t offset = 0;
    std::u16string name;
    std::uint32_t subkeyCount = 0;
    std::uint32_t subkeyList = 0;  // relative to the bins; 0xFFFFFFFF for none
    std::uint32_t valueCount = 0;
    std::uint32_t valueList = 0;
};

struct ValueCell {
    std::size_t offset = 0;
    std::u16string name;  // the name as stored, whatever units it holds
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    bool bigData = false;  // stored as segments of a "db" record
};

// Windows keeps a value's data in one cell up to this size; a hive of format
// 1.4 or later keeps anything longer as a big-data record.
inline constexpr std::size_t kLargestCellData = 16344;

class HiveCells {
public:
    // nullopt when the bytes are no hive: no "regf" base block, or bins
    // that do not tile the space the base block gives them.
    static std::optional<HiveCells> read(std::vector<std::uint8_t> file);

    std::size_t rootKey() const { return root_; }
    std::uint32_t minorVersion() const { return minor_; }
    // Whether a value of this many bytes must be a big-data record here.
    bool needsBigData(std::size_t size) const { return minor_ >= 4 && size > kLargestCellData; }

    Result<KeyCell> key(std::size_t offset) const;
    // The subkeys' offsets, in the order the lists keep them.
    Result<std::vector<std::size_t>> subkeys(const KeyCell& key) const;
    Result<std::vector<std::size_t>> valueOffsets(const KeyCell& key) const;
    Result<ValueCell> value(std::size_t offset) const;

private:
    struct Bin {
        std::size_t start, end;
    };
    HiveCells(std::vector<std::uint8_t> file, std::vector<Bin> bins, std::size_t root, std::uint32_t minor);
    // The payload of the allocated cell at a bin-relative offset.
    Result<std::span<const std::uint8_t>> cell(std::uint32_t relative, const char* what) const;
    // The payload of the record with this signature at a file offset.
    Result<std::span<const std::uint8_t>> record(std::size_t offset, const char (&signature)[3],
                                                 const char* what) const;
    Result<std::vector<std::uint8_t>> bigData(std::span<const std::uint8_t> record, std::size_t offset,
                                              std::size_t size) const;
    Result<std::vector<std::size_t>> listedSubkeys(std::uint32_t list, int depth) const;

    std::vector<std::uint8_t> file_;
    std::vector<Bin> bins_;
    std::size_t root_;
    std::uint32_t minor_;
};

}  // namespace lsu::formats
