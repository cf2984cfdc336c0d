#pragma once
// Bytes read where they lie, a piece at a time: a program file or a hive log
// may be gigabytes, or a file that never ends, and the parsers need only the
// few places their headers point at.

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace lsu::formats {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to size bytes from offset: fewer at the end, none past it or when
    // the bytes cannot be read.
    virtual std::vector<std::uint8_t> read(std::uint64_t offset, std::size_t size) const = 0;
};

// Bytes already in memory.
class SpanSource : public ByteSource {
public:
    explicit SpanSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::vector<std::uint8_t> read(std::uint64_t offset, std::size_t size) const override {
        if (offset >= bytes_.size()) return {};
        const auto piece = bytes_.subspan(static_cast<std::size_t>(offset));
        return {piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(std::min(size, piece.size()))};
    }

private:
    std::span<const std::uint8_t> bytes_;
};

}  // namespace lsu::formats
