#include "platform/offline/ProfileText.h"

#include "base/CaseFolding.h"
#include "base/Utf16.h"
#include "platform/formats/AnsiCodePage.h"

namespace lsu::offline {

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The name of a section header line, or nullopt for any other line.
std::optional<std::string> headerName(const std::string& line) {
    const std::string text = trimmed(line);
    if (text.empty() || text.front() != '[') return std::nullopt;
    return trimmed(text.substr(1, text.find(']') - 1));
}

std::string unquoted(std::string value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool fitsAnsi(const std::u16string& text) {
    for (char16_t unit : text)
        if (!formats::ansiOf(unit)) return false;
    return true;
}

}  // namespace

ProfileText::ProfileText(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        encoding_ = Encoding::Utf16;
        text = utf8FromUtf16(utf16FromBytes(std::span(bytes).subspan(2)));
    } else if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        encoding_ = Encoding::Utf8;
        text.assign(bytes.begin() + 3, bytes.end());
    } else {
        text = utf8FromUtf16(formats::utf16FromAnsi(std::string(bytes.begin(), bytes.end())));
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(std::move(line));
        start = end + 1;
    }
}

std::optional<std::size_t> ProfileText::sectionLine(const std::string& section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (auto name = headerName(lines_[i]); name && equalsNoCase(*name, section)) return i;
    return std::nullopt;
}

std::optional<ProfileText::KeyLine> ProfileText::keyLine(std::size_t section, const std::string& key) const {
    for (std::size_t i = section + 1; i < lines_.size() && !headerName(lines_[i]); ++i) {
        const std::string& line = lines_[i];
        const auto equals = line.find('=');
        if (equals == std::string::npos || trimmed(line).starts_with(';')) continue;
        if (equalsNoCase(trimmed(line.substr(0, equals)), key))
            return KeyLine{i, unquoted(trimmed(line.substr(equals + 1)))};
    }
    return std::nullopt;
}

std::optional<std::string> ProfileText::value(const std::string& section, const std::string& key) const {
    auto header = sectionLine(section);
    if (!header) return std::nullopt;
    auto line = keyLine(*header, key);
    if (!line) return std::nullopt;
    return line->value;
}

void ProfileText::setValue(const std::string& section, const std::string& key, const std::string& value) {
    if (encoding_ == Encoding::Ansi && !fitsAnsi(utf16FromUtf8(value))) encoding_ = Encoding::Utf16;
    auto header = sectionLine(section);
    if (!header) {
        if (!lines_.empty() && !trimmed(lines_.back()).empty()) lines_.emplace_back();
        lines_.push_back("[" + section + "]");
        lines_.push_back(key + "=" + value);
        return;
    }
    if (auto line = keyLine(*header, key)) {
        std::string& text = lines_[line->index];
        text = trimmed(text.substr(0, text.find('='))) + "=" + value;
        return;
    }
    std::size_t last = *header;
    for (std::size_t i = *header + 1; i < lines_.size() && !headerName(lines_[i]); ++i)
        if (!trimmed(lines_[i]).empty()) last = i;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last + 1), key + "=" + value);
}

void ProfileText::removeValue(const std::string& section, const std::string& key) {
    auto header = sectionLine(section);
    if (!header) return;
    if (auto line = keyLine(*header, key)) lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(line->index));
}

std::vector<std::uint8_t> ProfileText::bytes() const {
    std::string text;
    for (const std::string& line : lines_) text += line + "\r\n";
    if (encoding_ == Encoding::Utf8) {
        std::vector<std::uint8_t> out = {0xEF, 0xBB, 0xBF};
        out.insert(out.end(), text.begin(), text.end());
        return out;
    }
    const std::u16string units = utf16FromUtf8(text);
    if (encoding_ == Encoding::Ansi) {
        const std::string ansi = formats::ansiFromUtf16(units);
        return {ansi.begin(), ansi.end()};
    }
    return bytesOfUtf16(u"\uFEFF" + units);
}

}  // namespace lsu::offline
