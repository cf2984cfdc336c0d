#pragma once
// Little-endian numbers in byte buffers, as every Windows file format keeps
// them. Reads are bounds-checked: a field past the end is no field.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace lsu::formats {

inline std::optional<std::uint32_t> readLe(std::span<const std::uint8_t> bytes, std::size_t at, int size) {
    if (at > bytes.size() || bytes.size() - at < static_cast<std::size_t>(size)) return std::nullopt;
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[at + i];
    return value;
}
inline std::optional<std::uint16_t> readLe16(std::span<const std::uint8_t> bytes, std::size_t at) {
    auto value = readLe(bytes, at, 2);
    return value ? std::optional<std::uint16_t>(static_cast<std::uint16_t>(*value)) : std::nullopt;
}
inline std::optional<std::uint32_t> readLe32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return readLe(bytes, at, 4);
}

class LittleEndianWriter {
public:
    void u8(std::uint8_t value) { bytes_.push_back(value); }
    void u16(std::uint16_t value) { put(value, 2); }
    void u32(std::uint32_t value) { put(value, 4); }
    // Byte by byte: GCC 12 takes a range insert here for an overflow.
    void append(std::span<const std::uint8_t> bytes) {
        bytes_.reserve(bytes_.size() + bytes.size());
        for (std::uint8_t byte : bytes) bytes_.push_back(byte);
    }
    void zeros(std::size_t count) { bytes_.resize(bytes_.size() + count, 0); }
    void patch32(std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    std::size_t size() const { return bytes_.size(); }
    std::vector<std::uint8_t>& bytes() { return bytes_; }

private:
    void put(std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }

    std::vector<std::uint8_t> bytes_;
};

}  // namespace lsu::formats
