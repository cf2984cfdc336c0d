#include <gtest/gtest.h>

#include "operations/FileNames.h"

namespace lsu {
namespace {

TEST(FileNameProblem, AcceptsOrdinaryNames) {
    for (const char* name : {"Tool", "My Tool 2.0", "Überwachung", "COM10", "CONSOLE", "tool.exe", "a..b"})
        EXPECT_FALSE(fileNameProblem(name)) << name;
}

TEST(FileNameProblem, RejectsEmptyAndDotNames) {
    for (const char* name : {"", ".", ".."}) EXPECT_TRUE(fileNameProblem(name)) << name;
}

TEST(FileNameProblem, RejectsCharactersWindowsForbids) {
    for (const char* name : {"..\\evil", "a/b", "C:tool", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", "tab\there"})
        EXPECT_TRUE(fileNameProblem(name)) << name;
}

TEST(FileNameProblem, RejectsTrailingDotOrSpace) {
    EXPECT_TRUE(fileNameProblem("Tool."));
    EXPECT_TRUE(fileNameProblem("Tool "));
}

TEST(FileNameProblem, RejectsReservedDeviceNamesWithOrWithoutExtension) {
    for (const char* name : {"CON", "prn", "Aux", "NUL.txt", "com1", "COM9.lnk", "LPT1", "lpt5.exe"})
        EXPECT_TRUE(fileNameProblem(name)) << name;
}

}  // namespace
}  // namespace lsu
