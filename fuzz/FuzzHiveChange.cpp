// Damages a hive's bins and the links between its cells where the input
// says, then makes a change to it through the offline hive code: the change
// either goes ahead, leaving a hive that parses and holds what was written,
// or is refused with the file as it was. A hivex abort must never take the
// process down.
#include <hivex.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "offline/EmptyHive.h"
#include "platform/Registry.h"
#include "platform/formats/HiveCells.h"
#include "platform/offline/HiveFile.h"

namespace {

namespace fs = std::filesystem;
using lsu::offline::HiveValue;

const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::vector<std::uint8_t> bytesOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void put(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A user's hive with a Run key of a few entries, one already parked beside it.
std::vector<std::uint8_t> seedHive(const std::string& path) {
    put(path, lsu::test::emptyHiveBytes());
    hive_h* hive = hivex_open(path.c_str(), HIVEX_OPEN_WRITE);
    hive_node_h node = hivex_root(hive);
    for (const char* name : {"Software", "Microsoft", "Windows", "CurrentVersion"})
        node = hivex_node_add_child(hive, node, name);
    for (const char* key : {"Run", "Run-"}) {
        const hive_node_h run = hivex_node_add_child(hive, node, key);
        for (const char* name : {"Tool", "Other", "Third"}) {
            std::string data = std::string("C\0:\0\\\0", 6) + name;
            hive_set_value value{const_cast<char*>(name), hive_t_REG_SZ, data.size(), data.data()};
            hivex_node_set_value(hive, run, &value, 0);
        }
    }
    hivex_commit(hive, nullptr, 0);
    hivex_close(hive);
    return bytesOf(path);
}

struct Workspace {
    std::string folder;
    std::string hive;
    std::vector<std::uint8_t> seed;
    Workspace() {
        char name[] = "/tmp/lstartup-fuzz-hive.XXXXXX";
        folder = ::mkdtemp(name);
        hive = folder + "/NTUSER.DAT";
        seed = seedHive(hive);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Workspace workspace;
    for (const auto& entry : fs::directory_iterator(workspace.folder)) fs::remove(entry.path());
    // Each eight bytes of the input: where in the bins (a multiple of four), and what to put there.
    std::vector<std::uint8_t> hive = workspace.seed;
    const std::size_t bins = hive.size() - 4096;
    for (std::size_t at = 0; at + 8 <= size && at < 64; at += 8) {
        std::uint32_t where = 0, what = 0;
        for (int i = 0; i < 4; ++i) where |= std::uint32_t{data[at + i]} << (8 * i);
        for (int i = 0; i < 4; ++i) what |= std::uint32_t{data[at + 4 + i]} << (8 * i);
        const std::size_t offset = 4096 + (where % (bins / 4)) * 4;
        for (int i = 0; i < 4; ++i) hive[offset + i] = static_cast<std::uint8_t>(what >> (8 * i));
    }
    put(workspace.hive, hive);

    lsu::offline::WriteGuard guard(true);
    auto file = lsu::offline::HiveFile::open(
        workspace.hive, lsu::offline::HeldFolder::hold(workspace.folder, {fs::canonical(workspace.folder)}), guard);
    if (!file) return 0;
    const bool parking = size > 0 && data[0] % 2;
    const HiveValue written{"Tool", lsu::kRegSz, {'n', 0, 'e', 0, 'w', 0, 0, 0}};
    const lsu::Status changed = parking ? file->setValue(kRun + "-", written, true) : file->deleteValue(kRun, "Tool");
    const std::vector<std::uint8_t> after = bytesOf(workspace.hive);
    if (!changed) {
        if (after != hive) std::abort();  // a refusal changed the hive
        return 0;
    }
    auto reread = lsu::offline::HiveFile::open(workspace.hive, lsu::Error{}, guard);
    if (!reread || !lsu::formats::HiveCells::read(after)) std::abort();  // what was written does not parse
    const auto stored = reread->value(parking ? kRun + "-" : kRun, "Tool");
    if (parking ? !stored || stored->data != written.data : stored.has_value()) std::abort();
    return 0;
}
