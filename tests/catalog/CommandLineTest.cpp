#include <gtest/gtest.h>

#include <set>

#include "catalog/CommandLine.h"

namespace lsu {
namespace {

TEST(SplitCommandLine, QuotedProgramEndsAtItsClosingQuote) {
    EXPECT_EQ(splitCommandLine("\"C:\\Program Files\\App\\app.exe\" -min /x"),
              (ProgramAndArguments{"C:\\Program Files\\App\\app.exe", "-min /x"}));
    EXPECT_EQ(splitCommandLine("  \"C:\\a b\\c.exe\""), (ProgramAndArguments{"C:\\a b\\c.exe", ""}));
    EXPECT_EQ(splitCommandLine("\"C:\\unterminated"), (ProgramAndArguments{"C:\\unterminated", ""}));
}

TEST(SplitCommandLine, UnquotedProgramEndsAtTheFirstSpaceUnlessALongerPrefixExists) {
    EXPECT_EQ(splitCommandLine("C:\\Tools\\app.exe -min"), (ProgramAndArguments{"C:\\Tools\\app.exe", "-min"}));
    std::set<std::string> files = {"C:\\Program Files\\My App\\app.exe"};
    auto exists = [&](const std::string& path) { return files.count(path) != 0; };
    EXPECT_EQ(splitCommandLine("C:\\Program Files\\My App\\app.exe /tray now", exists),
              (ProgramAndArguments{"C:\\Program Files\\My App\\app.exe", "/tray now"}));
    EXPECT_EQ(splitCommandLine("C:\\Program Files\\My App\\app /tray", exists),
              (ProgramAndArguments{"C:\\Program Files\\My App\\app.exe", "/tray"}));
    EXPECT_EQ(splitCommandLine("C:\\Program Files\\My App\\app.exe", exists),
              (ProgramAndArguments{"C:\\Program Files\\My App\\app.exe", ""}));
    EXPECT_EQ(splitCommandLine("C:\\Program Files\\Gone\\x.exe", exists),
              (ProgramAndArguments{"C:\\Program", "Files\\Gone\\x.exe"}));
    EXPECT_EQ(splitCommandLine("   "), (ProgramAndArguments{}));
}

TEST(FolderOf, KeepsTheDriveRootsBackslash) {
    EXPECT_EQ(folderOf("C:\\Tools\\app.exe"), "C:\\Tools");
    EXPECT_EQ(folderOf("C:\\app.exe"), "C:\\");
    EXPECT_EQ(folderOf("app.exe"), "");
}

}  // namespace
}  // namespace lsu
