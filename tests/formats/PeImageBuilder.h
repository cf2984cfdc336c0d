#pragma once
// PE images made by the tests: a library (32-bit or 64-bit) with a code
// section and a resource section, which holds a resource directory of the
// resources given laid out as a linker lays it (type, name and language
// levels, then the data entries, then the data).

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace lsu::test {

struct TestResource {
    std::uint32_t type = 0;
    std::uint32_t name = 0;
    std::uint16_t language = 0;
    std::vector<std::uint8_t> data;
};

// Where the resource section, and the root of its directory, lies in the file.
inline constexpr std::size_t kResourceSectionOffset = 0x400;

enum class PeFormat { Pe32, Pe32Plus };

std::vector<std::uint8_t> peImageWith(const std::vector<TestResource>& resources, PeFormat format = PeFormat::Pe32Plus);

// The string table blocks holding these strings (id -> UTF-8 text) in one
// language, each string a count of UTF-16 units and the units.
std::vector<TestResource> stringTable(const std::map<std::uint16_t, std::string>& strings, std::uint16_t language);

// Where the first resource's language entry (its id, then its target), its
// data entry (the data's address, then its size) and its data lie in an
// image peImageWith made, for tests that damage them.
std::size_t firstLanguageEntryOffset(const std::vector<std::uint8_t>& image);
std::size_t firstDataEntryOffset(const std::vector<std::uint8_t>& image);
std::size_t firstDataOffset(const std::vector<std::uint8_t>& image);

}  // namespace lsu::test
