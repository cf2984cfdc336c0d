#include "offline/OfflineFixture.h"

#include <hivex.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

#include "base/Utf16.h"
#include "offline/EmptyHive.h"

namespace lsu::test {

namespace {

namespace fs = std::filesystem;

// ntfs-3g leaves a daemon behind that would hold a captured output open, so
// what mounting says goes nowhere.
void mustRun(const std::vector<std::string>& argv) {
    if (runProcess(argv, false).code != 0) throw std::runtime_error(argv.front() + " failed");
}

// The key's node, made when asked to and missing.
hive_node_h keyNode(hive_h* hive, const std::string& key, bool create) {
    hive_node_h node = hive ? hivex_root(hive) : 0;
    for (std::size_t start = 0; node && start < key.size();) {
        const std::size_t end = std::min(key.find('\\', start), key.size());
        const std::string name = key.substr(start, end - start);
        const hive_node_h child = hivex_node_get_child(hive, node, name.c_str());
        node = child || !create ? child : hivex_node_add_child(hive, node, name.c_str());
        start = end + 1;
    }
    return node;
}

}  // namespace

// Through the shell, each argument quoted whole.
ProcessResult runProcess(const std::vector<std::string>& argv, bool capture) {
    std::string command;
    for (const std::string& arg : argv) {
        command += " '";
        for (char c : arg) command += c == '\'' ? std::string("'\\''") : std::string(1, c);
        command += '\'';
    }
    FILE* pipe = ::popen((command + (capture ? " 2>&1" : " >/dev/null 2>&1")).c_str(), "r");
    ProcessResult result;
    char buffer[4096];
    for (std::size_t got; pipe && (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.out.append(buffer, got);
    if (const int status = pipe ? ::pclose(pipe) : -1; WIFEXITED(status)) result.code = WEXITSTATUS(status);
    return result;
}

// A run that hangs is stopped, so that it fails instead of holding the suite.
ProcessResult runTool(const std::string& tree, const std::vector<std::string>& args) {
    std::vector<std::string> argv = {"timeout", "-s", "KILL", "60", LSU_CLI_PATH, "--offline", tree};
    argv.insert(argv.end(), args.begin(), args.end());
    return runProcess(argv);
}

NtfsVolume::NtfsVolume(std::size_t megabytes) {
    char folder[] = "/tmp/lsu-ntfs.XXXXXX";
    folder_ = ::mkdtemp(folder);
    image_ = folder_ + "/volume.img";
    mountPoint_ = folder_ + "/mnt";
    fs::create_directory(mountPoint_);
    fs::resize_file((std::ofstream(image_), image_), megabytes << 20);
    mustRun({"mkntfs", "--quiet", "--fast", "--force", image_});
    mustRun({"ntfs-3g", image_, mountPoint_});
}

// A volume still mounted is not removed from under its mount.
NtfsVolume::~NtfsVolume() {
    if (runProcess({"umount", mountPoint_}, false).code == 0) fs::remove_all(folder_);
}

void NtfsVolume::remount(bool readOnly) {
    mustRun({"umount", mountPoint_});
    mustRun({"ntfs-3g", "-o", readOnly ? "ro" : "rw", image_, mountPoint_});
}

NtfsVolume& suiteVolume() {
    static NtfsVolume volume;
    return volume;
}

HiveEntry stringEntry(const std::string& key, const std::string& name, const std::string& text, std::uint32_t type) {
    std::u16string units = utf16FromUtf8(text);
    units.push_back(u'\0');
    return {key, name, type, bytesOfUtf16(units)};
}

void fillHive(const std::string& path, const std::vector<HiveEntry>& entries) {
    hive_h* hive = hivex_open(path.c_str(), HIVEX_OPEN_WRITE);
    ASSERT_NE(hive, nullptr) << path;
    for (const HiveEntry& entry : entries) {
        const hive_node_h node = keyNode(hive, entry.key, true);
        if (entry.name.empty() && entry.data.empty()) continue;
        hive_set_value value{const_cast<char*>(entry.name.c_str()),
                             {},
                             entry.data.size(),
                             reinterpret_cast<char*>(const_cast<std::uint8_t*>(entry.data.data()))};
        std::memcpy(&value.t, &entry.type, sizeof value.t);  // any type, as the registry keeps any
        ASSERT_EQ(hivex_node_set_value(hive, node, &value, 0), 0) << entry.key << "\\" << entry.name;
    }
    EXPECT_EQ(hivex_commit(hive, nullptr, 0), 0) << path;
    hivex_close(hive);
}

std::vector<std::uint8_t> storedBytes(const std::string& path, const std::string& key, const std::string& name) {
    std::vector<std::uint8_t> bytes;
    hive_h* hive = hivex_open(path.c_str(), 0);
    const hive_node_h node = keyNode(hive, key, false);
    if (hive_value_h value = node ? hivex_node_get_value(hive, node, name.c_str()) : 0) {
        // Any type the registry keeps, never taken as one of hivex's names for them.
        std::uint32_t type = 0;
        std::size_t length = 0;
        char* data = hivex_value_value(hive, value, reinterpret_cast<hive_type*>(&type), &length);
        bytes.assign(data, data + length);
        bytes.insert(bytes.begin(), static_cast<std::uint8_t>(type));
        std::free(data);
    }
    if (hive) hivex_close(hive);
    return bytes;
}

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void putBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::map<std::string, std::string> snapshotOf(const std::string& folder) {
    std::map<std::string, std::string> snapshot;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string relative = fs::relative(entry.path(), folder).string();
        if (entry.is_symlink()) {
            snapshot[relative] = "link to " + fs::read_symlink(entry.path()).string();
        } else if (entry.is_regular_file()) {
            // A digest keeps a failure's report short; FNV-1a tells any change apart.
            std::uint64_t digest = 0xCBF29CE484222325u;
            const std::vector<std::uint8_t> bytes = fileBytes(entry.path());
            for (std::uint8_t byte : bytes) digest = (digest ^ byte) * 0x100000001B3u;
            snapshot[relative] = std::to_string(bytes.size()) + " bytes, FNV-1a " + std::to_string(digest);
        } else {
            snapshot[relative] = entry.is_directory() ? "folder" : "special file";
        }
    }
    return snapshot;
}

std::string makeWindowsTree(const std::string& parent) {
    static int count = 0;
    const std::string tree = parent + "/windows-" + std::to_string(::getpid()) + "-" + std::to_string(++count);
    for (const char* folder :
         {"/Windows/System32/config", "/Users/Tester/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Startup",
          "/ProgramData/Microsoft/Windows/Start Menu/Programs/Startup", "/Users/Tester/AppData/Local/Microsoft/Windows",
          "/Program Files/LStartUp/Startup Folder/All Users", "/Program Files/LStartUp/Startup Folder/Current User"})
        fs::create_directories(tree + folder);
    for (const char* hive : {kSoftwareHive, kUserHive, kClassesHive, kSystemHive})
        putBytes(tree + hive, emptyHiveBytes());
    fillHive(tree + kSoftwareHive,
             {stringEntry("Microsoft\\Windows NT\\CurrentVersion", "SystemRoot", "C:\\WINDOWS"),
              stringEntry("Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", "C:\\Program Files"),
              stringEntry("Wow6432Node\\Microsoft", "", "")});
    fillHive(tree + kSystemHive, {{"Select", "Current", kRegDword, {2, 0, 0, 0}},
                                  {"ControlSet001\\Services", "", kRegSz, {}},
                                  {"ControlSet002\\Services", "", kRegSz, {}}});
    std::ofstream(tree + "/Windows/win.ini") << "[fonts]\r\n";
    return tree;
}

namespace {

std::unique_ptr<offline::OfflinePlatform> platformOver(const std::string& tree) {
    offline::OfflineOptions options;
    options.root = tree;
    auto opened = offline::OfflinePlatform::open(options);
    if (!opened) throw std::runtime_error(opened.error().message);
    return std::move(*opened);
}

}  // namespace

OfflineBackend::OfflineBackend()
    : tree_(makeWindowsTree(suiteVolume().mountPoint())), platform_(platformOver(tree_)), ports_(portsOf(*platform_)) {}

void OfflineBackend::seedShortcut(const std::string& path, const ShortcutFields& fields) {
    if (!platform_->writeShortcut(path, fields, true)) ADD_FAILURE() << "the link writer could not write " << path;
}

std::unique_ptr<Backend> makeCleanBackend() { return std::make_unique<OfflineBackend>(); }

}  // namespace lsu::test
