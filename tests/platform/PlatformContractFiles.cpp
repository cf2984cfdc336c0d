#include <gtest/gtest.h>

#include "support/Backend.h"
#include "support/Scratch.h"

namespace lsu {
namespace {

class PlatformContractFiles : public ::testing::Test {
protected:
    std::unique_ptr<test::Backend> backend = test::makeCleanBackend();
    Platform& platform = backend->platform();
    test::Scratch scratch{platform, "files contract"};

    std::string text(const std::string& path) {
        auto bytes = platform.readFile(path);
        return bytes ? std::string(bytes->begin(), bytes->end()) : "<unreadable>";
    }
};

TEST_F(PlatformContractFiles, OnlyPlainFilesExist) {
    const std::string file = scratch.file("present.exe");
    EXPECT_TRUE(platform.fileExists(file));
    EXPECT_FALSE(platform.fileExists(scratch.folder()));
    EXPECT_FALSE(platform.fileExists(""));
    EXPECT_FALSE(platform.fileExists(scratch.folder() + "\\absent.exe"));
    EXPECT_FALSE(platform.fileExists(scratch.folder() + "\\" + std::string(400, 'l') + ".exe"));
    EXPECT_FALSE(platform.fileExists(scratch.folder() + "\\bad<name>|.exe"));
    EXPECT_TRUE(platform.folderExists(scratch.folder()));
    EXPECT_FALSE(platform.folderExists(file));
}

TEST_F(PlatformContractFiles, EnsureFolderMakesOneLevel) {
    const std::string child = scratch.folder() + "\\child";
    EXPECT_FALSE(platform.ensureFolder(scratch.folder() + "\\missing parent\\grandchild"));
    EXPECT_TRUE(platform.ensureFolder(child));
    EXPECT_TRUE(platform.folderExists(child));
    EXPECT_TRUE(platform.ensureFolder(child));
}

TEST_F(PlatformContractFiles, ListingShowsVisiblePlainFilesSortedByName) {
    scratch.file("beta.exe");
    scratch.file("Alpha.lnk");
    scratch.file("GAMMA.LNK");
    scratch.file("sub\\inner.lnk");
    platform.setHidden(scratch.file("hidden.ini"));
    EXPECT_EQ(platform.listFiles(scratch.folder()), (std::vector<std::string>{"Alpha.lnk", "beta.exe", "GAMMA.LNK"}));
}

TEST_F(PlatformContractFiles, ListingAnUnreadableFolderIsEmpty) {
    EXPECT_TRUE(platform.listFiles(scratch.folder() + "\\absent").empty());
    EXPECT_TRUE(platform.listFiles("").empty());
}

TEST_F(PlatformContractFiles, FilesKeepTheirExactBytes) {
    const std::string path = scratch.fileAt(scratch.folder() + "\\bytes.bin", "");
    const std::vector<std::uint8_t> bytes = {0x00, 0x0D, 0x0A, 0xFF, 0x00};
    ASSERT_TRUE(platform.writeFile(path, bytes));
    EXPECT_EQ(platform.readFile(path), bytes);
    ASSERT_TRUE(platform.writeFile(path, {0x41}));
    EXPECT_EQ(platform.readFile(path), (std::vector<std::uint8_t>{0x41}));
    EXPECT_FALSE(platform.readFile(scratch.folder() + "\\absent.bin"));
}

TEST_F(PlatformContractFiles, NonAnsiFileNamesSurvive) {
    const std::string name = "\xCE\xB1\xCE\xB2 \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80.lnk";
    const std::string path = scratch.file(name, "content");
    EXPECT_TRUE(platform.fileExists(path));
    EXPECT_EQ(platform.listFiles(scratch.folder()), std::vector<std::string>{name});
    EXPECT_EQ(text(path), "content");
}

TEST_F(PlatformContractFiles, MoveRefusesToReplaceUnlessAsked) {
    const std::string from = scratch.file("from.lnk", "moved");
    const std::string to = scratch.file("to.lnk", "old");
    EXPECT_FALSE(platform.moveFile(from, to, false));
    EXPECT_EQ(text(from), "moved");
    EXPECT_EQ(text(to), "old");
    EXPECT_TRUE(platform.moveFile(from, to, true));
    EXPECT_FALSE(platform.fileExists(from));
    EXPECT_EQ(text(to), "moved");
}

TEST_F(PlatformContractFiles, MoveToAFreeNameRenames) {
    const std::string from = scratch.file("old name.lnk", "link");
    const std::string to = scratch.folder() + "\\new name.lnk";
    ASSERT_TRUE(platform.moveFile(from, to, false));
    scratch.fileAt(to, "link");
    EXPECT_FALSE(platform.fileExists(from));
    EXPECT_TRUE(platform.fileExists(to));
}

TEST_F(PlatformContractFiles, DeleteReportsWhetherAFileWentAway) {
    const std::string path = scratch.file("gone.exe");
    EXPECT_TRUE(platform.deleteFile(path));
    EXPECT_FALSE(platform.fileExists(path));
    EXPECT_FALSE(platform.deleteFile(path));
}

TEST_F(PlatformContractFiles, StartupFoldersAreKnownAndOtherIdsAreNot) {
    for (int csidl : {kCsidlStartup, kCsidlCommonStartup}) {
        const std::string folder = platform.specialFolder(csidl);
        EXPECT_FALSE(folder.empty()) << csidl;
        EXPECT_TRUE(platform.folderExists(folder)) << folder;
    }
    EXPECT_NE(platform.specialFolder(kCsidlStartup), platform.specialFolder(kCsidlCommonStartup));
    EXPECT_EQ(platform.specialFolder(0x7A), "");
}

TEST_F(PlatformContractFiles, ProgramAndWindowsFoldersHaveNoTrailingBackslash) {
    for (const std::string& folder : {platform.windowsDirectory(), platform.programFolder()}) {
        ASSERT_FALSE(folder.empty());
        EXPECT_NE(folder.back(), '\\');
        EXPECT_TRUE(platform.folderExists(folder)) << folder;
    }
    EXPECT_FALSE(platform.programFileName().empty());
    EXPECT_EQ(platform.programFileName().find('\\'), std::string::npos);
}

TEST_F(PlatformContractFiles, EnvironmentExpandsKnownVariablesOnly) {
    EXPECT_EQ(platform.expandEnvironment("%SystemRoot%\\notepad.exe"), platform.windowsDirectory() + "\\notepad.exe");
    EXPECT_EQ(platform.expandEnvironment("%LSU_NEVER_SET%\\x.exe"), "%LSU_NEVER_SET%\\x.exe");
}

}  // namespace
}  // namespace lsu
