#include "base/WindowsPaths.h"

#include "base/CaseFolding.h"
#include "base/Text.h"

namespace lsu {

namespace {

constexpr std::string_view kSeparators = "\\/";

bool isDriveRoot(std::string_view path) {
    return path.size() == 3 && path[1] == ':' && kSeparators.find(path[2]) != std::string_view::npos;
}

}  // namespace

std::string_view fileNameOf(std::string_view path) {
    const auto separator = path.find_last_of(kSeparators);
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string parentFolderOf(std::string_view path) {
    if (isDriveRoot(path)) return {};
    const auto separator = path.find_last_of(kSeparators);
    if (separator == std::string_view::npos) return {};
    if (separator == 2 && path[1] == ':') return std::string(path.substr(0, 3));
    return std::string(path.substr(0, separator));
}

std::string_view stemOf(std::string_view fileName) { return fileName.substr(0, fileName.find_last_of('.')); }

std::string_view extensionOf(std::string_view fileName) {
    const auto dot = fileName.find_last_of('.');
    return dot == std::string_view::npos ? std::string_view() : fileName.substr(dot);
}

bool hasFileExtension(std::string_view path) {
    const auto separator = path.find_last_of("\\/:");
    const auto name = separator == std::string_view::npos ? path : path.substr(separator + 1);
    return name.find('.') != std::string_view::npos;
}

std::string withTrailingBackslash(std::string_view path) {
    std::string result(path);
    if (result.empty() || result.back() != '\\') result += '\\';
    return result;
}

std::string withoutTrailingBackslash(std::string_view path) {
    std::string result(path);
    while (!result.empty() && result.back() == '\\' && !isDriveRoot(result)) result.pop_back();
    return result;
}

bool isReservedDeviceName(std::string_view name) {
    const std::string stem = trimSpaces(name.substr(0, name.find('.')));
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL"})
        if (equalsNoCase(stem, device)) return true;
    if (stem.size() != 4 || stem[3] < '1' || stem[3] > '9') return false;
    const std::string_view port = std::string_view(stem).substr(0, 3);
    return equalsNoCase(port, "COM") || equalsNoCase(port, "LPT");
}

std::optional<FileNameFault> fileNameFault(std::string_view name) {
    if (name.empty()) return FileNameFault::Empty;
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 32) return FileNameFault::ControlCharacter;
        if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return FileNameFault::ReservedCharacter;
    }
    if (name == "." || name == "..") return FileNameFault::DotName;
    if (name.back() == '.' || name.back() == ' ') return FileNameFault::TrailingDotOrSpace;
    if (isReservedDeviceName(name)) return FileNameFault::DeviceName;
    return std::nullopt;
}

}  // namespace lsu
