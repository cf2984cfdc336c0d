#include "cli/SnapshotFiles.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace lsu::cli {

namespace {

std::filesystem::path pathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

Status saveSnapshot(const std::string& path, const InventorySnapshot& snapshot) {
    const std::string text = snapshotText(snapshot);
    std::ofstream file(pathOf(path), std::ios::binary | std::ios::trunc);
    if (file) file.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (file.flush()) return {};
    return Error{ErrorKind::System, 0, "cannot write the snapshot to " + path};
}

Result<InventorySnapshot> loadSnapshot(const std::string& path) {
    std::ifstream file(pathOf(path), std::ios::binary);
    if (!file) return Error{ErrorKind::NotFound, 0, "cannot read the snapshot " + path};
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    auto snapshot = readSnapshotText(text);
    if (!snapshot) return Error{ErrorKind::DamagedData, 0, path + " holds no snapshot this program wrote"};
    return std::move(*snapshot);
}

}  // namespace lsu::cli
