#pragma once
// An INI file as the profile functions read and write it: sections and keys
// matched ignoring case, a key's whole value with the spaces around it and
// one pair of enclosing quotes removed, lines starting with ";" ignored. The
// file keeps the encoding it came in: UTF-16 or UTF-8 when it starts with
// their byte-order mark, else the ANSI code page, given up for UTF-16 only
// when a value written needs characters the code page lacks.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lsu::offline {

class ProfileText {
public:
    explicit ProfileText(const std::vector<std::uint8_t>& bytes);

    std::optional<std::string> value(const std::string& section, const std::string& key) const;
    // Replaces the key's line, or adds it at the end of its section, or adds
    // the section at the end of the file.
    void setValue(const std::string& section, const std::string& key, const std::string& value);
    // Removes the key's line; its section stays.
    void removeValue(const std::string& section, const std::string& key);
    std::vector<std::uint8_t> bytes() const;

private:
    enum class Encoding { Ansi, Utf8, Utf16 };
    struct KeyLine {
        std::size_t index;
        std::string value;
    };
    std::optional<std::size_t> sectionLine(const std::string& section) const;
    std::optional<KeyLine> keyLine(std::size_t section, const std::string& key) const;

    Encoding encoding_ = Encoding::Ansi;
    std::vector<std::string> lines_;  // UTF-8, without line ends
};

}  // namespace lsu::offline
