// What the offline platform does beyond the contract: the offline system's
// own paths found on a mount that compares names exactly, NTFS attributes,
// win.ini kept as the profile functions keep it, version resources read
// without the system.

#include <gtest/gtest.h>
#include <sys/xattr.h>

#include <filesystem>
#include <fstream>

#include "offline/EmptyHive.h"
#include "offline/OfflineFixture.h"
#include "platform/formats/HiveHeader.h"
#include "platform/formats/LittleEndian.h"
#include "platform/formats/VersionResource.h"

namespace lsu::test {
namespace {

namespace fs = std::filesystem;

class OfflinePlatformTest : public ::testing::Test {
protected:
    OfflineBackend backend;
    const std::string& tree = backend.tree();
    const ScanPorts& platform = backend.ports();

    std::string put(const std::string& relative, const std::string& content = "x") {
        fs::create_directories(fs::path(tree + relative).parent_path());
        std::ofstream(tree + relative, std::ios::binary) << content;
        return tree + relative;
    }
};

TEST_F(OfflinePlatformTest, PathsMatchIgnoringCaseAsNtfsDoes) {
    put("/Windows/System32/notepad.exe");
    put("/\xC3\xA4rger/\xC3\xBC.txt");  // lower-case a and u with diaeresis
    EXPECT_TRUE(platform.files.fileExists("c:\\windows\\SYSTEM32\\NOTEPAD.EXE"));
    EXPECT_TRUE(platform.files.fileExists("C:\\\xC3\x84RGER\\\xC3\x9C.TXT"));
    EXPECT_TRUE(platform.files.fileExists("C:\\Windows\\.\\Fonts\\..\\System32\\notepad.exe"));
    EXPECT_FALSE(platform.files.fileExists("D:\\Windows\\System32\\notepad.exe"));
    EXPECT_EQ(platform.system.expandEnvironment("%systemroot%\\x;%APPDATA%;%NONE%"),
              "C:\\WINDOWS\\x;C:\\Users\\Tester\\AppData\\Roaming;%NONE%");
    ASSERT_TRUE(platform.files.writeFile("C:\\WINDOWS\\SYSTEM32\\NEW.TXT", {'n'}));
    EXPECT_TRUE(fs::exists(tree + "/Windows/System32/NEW.TXT"));
    EXPECT_FALSE(platform.files.writeFile("C:\\Windows\\con.txt", {'n'}));
    EXPECT_FALSE(platform.files.writeFile("C:\\Windows\\win.ini.", {'n'}));  // Windows would write win.ini
    fs::create_directory_symlink("/tmp", tree + "/Windows/Temp");            // a link leading off the volume
    EXPECT_FALSE(platform.files.writeFile("C:\\Windows\\Temp\\planted.txt", {'n'}));
}

TEST_F(OfflinePlatformTest, ListingSkipsSystemFilesAndDesktopIni) {
    const std::string folder = "/ProgramData/Microsoft/Windows/Start Menu/Programs/Startup";
    put(folder + "/plain.exe");
    put(folder + "/Desktop.ini");
    const unsigned char system[4] = {0, 0, 0, 0x04};
    ASSERT_EQ(::setxattr(put(folder + "/system.exe").c_str(), "system.ntfs_attrib_be", system, 4, 0), 0);
    EXPECT_EQ(platform.files.listFiles(platform.system.shellFolder(ShellFolder::CommonStartup)),
              std::vector<std::string>{"plain.exe"});
}

// Windows keeps a user's hive hidden and a system file: a file written anew
// in its place keeps what the old one was.
TEST_F(OfflinePlatformTest, AReplacedFileKeepsItsAttributes) {
    const std::string path = put("/Windows/kept.ini");
    const unsigned char hiddenSystem[4] = {0, 0, 0, 0x06};
    ASSERT_EQ(::setxattr(path.c_str(), "system.ntfs_attrib_be", hiddenSystem, 4, 0), 0);
    ASSERT_TRUE(platform.files.writeFile("C:\\Windows\\kept.ini", {'n'}));
    unsigned char kept[4] = {};
    ASSERT_EQ(::getxattr(path.c_str(), "system.ntfs_attrib_be", kept, 4), 4);
    EXPECT_EQ(kept[3] & 0x06, 0x06);
}

TEST_F(OfflinePlatformTest, WinIniKeepsTheProfileRulesAndItsEncoding) {
    const std::string winIni = platform.system.windowsDirectory() + "\\win.ini";
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {std::string("\xFF\xFE[\0s\0m\0_\0d\0i\0s\0a\0b\0l\0e\0d\0]\0\r\0\n\0L\0O\0A\0D\0=\0\"\0x\0\"\0", 48), "x"},
        {"[SM_Disabled]\r\n  load = C:\\caf\xE9.exe \r\n", "C:\\caf\xC3\xA9.exe"},
        {"[SM_Disabled]\r\n;Load=commented.exe\r\n[Other]\r\nLoad=other.exe\r\n", std::nullopt},
    };
    for (const auto& [bytes, load] : cases) {
        put("/Windows/win.ini", bytes);
        EXPECT_EQ(platform.profiles.readProfile("SM_Disabled", "Load", winIni), load) << bytes;
    }
    const std::string greek = "\xCE\xB1\xCE\xB2.exe";
    ASSERT_TRUE(platform.profiles.writeProfile("SM_Disabled", "Run", greek, winIni));
    EXPECT_EQ(platform.profiles.readProfile("sm_disabled", "RUN", winIni), greek);
    EXPECT_EQ(platform.profiles.readProfile("Other", "Load", winIni), "other.exe");
    EXPECT_EQ(fileBytes(tree + "/Windows/win.ini").at(0), 0xFF);  // Unicode from then on
}

TEST_F(OfflinePlatformTest, CompanyNameComesFromTheVersionResource) {
    fs::copy_file("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/regedit.exe", tree + "/Windows/regedit.exe");
    EXPECT_EQ(platform.versions.companyName("C:\\Windows\\regedit.exe"), "Microsoft Corporation");
    EXPECT_EQ(platform.versions.companyName("C:\\Windows\\win.ini"), "");
}

// A file of any size whose first bytes are given, zeros after them, that
// counts what is read of it.
class CountingSource : public formats::ByteSource {
public:
    CountingSource(std::vector<std::uint8_t> start, std::uint64_t size) : start_(std::move(start)), size_(size) {}
    std::vector<std::uint8_t> read(std::uint64_t offset, std::size_t size) const override {
        const std::uint64_t end = std::min<std::uint64_t>(offset + size, size_);
        std::vector<std::uint8_t> bytes(offset < end ? end - offset : 0, 0);
        for (std::size_t i = 0; i < bytes.size() && offset + i < start_.size(); ++i) bytes[i] = start_[offset + i];
        read_ += bytes.size();
        return bytes;
    }
    std::uint64_t bytesRead() const { return read_; }

private:
    std::vector<std::uint8_t> start_;
    std::uint64_t size_;
    mutable std::uint64_t read_ = 0;
};

TEST(OfflineFormats, ProgramsAndLogsAreReadWhereTheirHeadersPointNotWhole) {
    constexpr std::uint64_t kTwoGigabytes = 2ull << 30;
    const CountingSource program(fileBytes("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/regedit.exe"), kTwoGigabytes);
    EXPECT_EQ(formats::companyNameOfImage(program), "Microsoft Corporation");
    EXPECT_LT(program.bytesRead(), 1u << 20);

    formats::LittleEndianWriter log;
    log.append(emptyHiveBytes());
    const CountingSource emptyLog(std::vector<std::uint8_t>(log.bytes().begin(), log.bytes().begin() + 512),
                                  kTwoGigabytes);
    EXPECT_FALSE(formats::logHoldsChanges(emptyLog, *formats::readBaseBlock(log.bytes())));
    EXPECT_LT(emptyLog.bytesRead(), 4096u);
}

TEST_F(OfflinePlatformTest, KeyMadeForAValueGoesWithItsLastValue) {
    const RegistryLocation made{Hive::CurrentUser, RegistryView::Shared, "Software\\Made\\Here-"};
    ASSERT_TRUE(platform.registry.writeValue(made, {"Tool", kRegSz, {'x'}}, true));
    ASSERT_TRUE(platform.registry.deleteValue(made, "Tool"));
    EXPECT_FALSE(platform.registry.readValues(made));
    EXPECT_FALSE(platform.registry.readValues({Hive::CurrentUser, RegistryView::Shared, "Software\\Made"}));
}

TEST_F(OfflinePlatformTest, LinkTargetWithVariablesStaysUnexpanded) {
    const ShortcutFields fields{"%SystemRoot%\\system32\\notepad.exe", "\xCE\xB1 /x", "", 0, 7, "", "", 0};
    const std::string link = platform.system.shellFolder(ShellFolder::UserStartup) + "\\Env.lnk";
    backend.seedShortcut(link, fields);
    EXPECT_EQ(platform.links.readShortcut(link).value().fields, fields);
}

}  // namespace
}  // namespace lsu::test
