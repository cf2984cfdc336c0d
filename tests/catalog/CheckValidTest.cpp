#include <gtest/gtest.h>

#include "catalog/CheckValid.h"
#include "catalog/Sections.h"
#include "support/Backend.h"
#include "support/Scratch.h"

namespace lsu {
namespace {

class CheckValidTest : public ::testing::Test {
protected:
    std::unique_ptr<test::Backend> backend = test::makeCleanBackend();
    Platform& platform = backend->platform();
    test::Scratch scratch{platform, "checkvalid"};
    bool valid(const std::string& commandLine) { return ExistenceCheck(platform).CheckValid(commandLine); }
};

TEST_F(CheckValidTest, QuotedPathIsTestedWithoutItsSwitches) {
    std::string app = scratch.file("app.exe");
    EXPECT_TRUE(valid("\"" + app + "\" /min"));
    EXPECT_TRUE(valid(app + " -hidden"));
    EXPECT_TRUE(valid(app + " /background"));
}

TEST_F(CheckValidTest, QuotedPathKeepsDashesAndSlashesInside) {
    std::string app = scratch.file("Tools - Old\\app.exe");
    EXPECT_TRUE(valid("\"" + app + "\" -tray"));
    EXPECT_TRUE(valid("\"" + app + "\" /x -y"));
}

TEST_F(CheckValidTest, UnquotedPathWithSpacesResolvesAsWindowsDoes) {
    std::string app = scratch.file("My Tools\\app.exe");
    EXPECT_TRUE(valid(app + " hidden"));
    EXPECT_TRUE(valid(scratch.folder() + "\\My Tools\\app hidden"));
    std::string old = scratch.file("Tools - Old\\tool.exe");
    EXPECT_TRUE(valid(old));
    EXPECT_FALSE(valid(scratch.folder() + "\\My Tools\\missing.exe hidden"));
}

TEST_F(CheckValidTest, EnvironmentVariablesAreExpanded) {
    scratch.fileAt(WinDir(platform) + "\\lsu-probe.exe");
    EXPECT_TRUE(valid("%SystemRoot%\\lsu-probe.exe"));
    EXPECT_TRUE(valid("\"%SystemRoot%\\lsu-probe.exe\" /s"));
    EXPECT_FALSE(valid("%LSU_NOT_A_VARIABLE%\\lsu-probe.exe"));
}

TEST_F(CheckValidTest, BareNamesAreFoundInTheWindowsFolders) {
    scratch.fileAt(WinDir(platform) + "\\lsu-probe.exe");
    scratch.fileAt(WinDir(platform) + "\\system32\\lsu-probe32.exe");
    EXPECT_TRUE(valid("lsu-probe.exe"));
    EXPECT_TRUE(valid("lsu-probe32.exe /q"));
    EXPECT_TRUE(valid("lsu-probe32"));
    EXPECT_FALSE(valid("lsu-absent.exe"));
}

TEST_F(CheckValidTest, NamesThatCannotBeFoundGiveNo) {
    EXPECT_FALSE(valid(""));
    EXPECT_FALSE(valid("   "));
    EXPECT_FALSE(valid("\"\""));
    EXPECT_FALSE(valid("\""));
    EXPECT_FALSE(valid("C:\\lsu\\does\\not\\exist.exe"));
    EXPECT_FALSE(valid(scratch.folder()));
    EXPECT_FALSE(valid("C:\\a<b>|\"?*.exe"));
    EXPECT_FALSE(valid("C:\\" + std::string(400, 'a') + ".exe"));
    EXPECT_FALSE(valid(std::string(5000, ' ') + "x -" + std::string(3000, '/')));
}

TEST_F(CheckValidTest, NamesOutsideTheAnsiCodePageAreFound) {
    std::string app = scratch.file("\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xE6\x97\xA5\xE6\x9C\xAC.exe");
    EXPECT_TRUE(valid("\"" + app + "\" -x"));
    EXPECT_TRUE(valid(app));
}

TEST_F(CheckValidTest, OneLoadProbesEachPathOnce) {
    std::string app = scratch.file("app.exe");
    ExistenceCheck check(platform);
    EXPECT_FALSE(check.CheckValid("lsu-absent.exe"));
    std::size_t first = check.probeCount();
    EXPECT_FALSE(check.CheckValid("lsu-absent.exe"));
    EXPECT_EQ(check.probeCount(), first);
    EXPECT_TRUE(check.CheckValid(app));
}

}  // namespace
}  // namespace lsu
