#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>

#include "catalog/StartupEntry.h"
#include "cli/EntryFormats.h"

namespace lsu::test {

namespace {

EntryList awkwardRows() {
    EntryList rows;
    appendRow(rows, "Agent, \"Pro\"", "\"C:\\A B\\agent.exe\" -x,y", "Registry\\All Users\\Run", true, "Reg", true);
    appendRow(rows, "Früh ✓", "line one\r\nline two", "Registry\\Current User\\Run", false, "Reg", false);
    return rows;
}

// Code points, as a terminal counts them for these texts.
std::size_t columnsOf(const std::string& line) {
    std::size_t count = 0;
    for (unsigned char c : line) count += (c & 0xC0) != 0x80;
    return count;
}

}  // namespace

TEST(CsvFormat, QuotesCommasQuotesAndLineBreaksAndEndsRecordsWithCrLf) {
    EXPECT_EQ(cli::formatCsv(awkwardRows()),
              "Name,Command Line,Exists,Section,Status,Type\r\n"
              "\"Agent, \"\"Pro\"\"\",\"\"\"C:\\A B\\agent.exe\"\" -x,y\",Yes,Registry\\All Users\\Run,Enabled,Reg\r\n"
              "Früh ✓,\"line one\r\nline two\",No,Registry\\Current User\\Run,Disabled,Reg\r\n");
}

TEST(JsonFormat, EscapesQuotesAndLineBreaksAndKeepsUtf8AsIs) {
    const std::string text = cli::formatJson(awkwardRows());
    EXPECT_NE(text.find(R"("name": "Agent, \"Pro\"")"), std::string::npos) << text;
    EXPECT_NE(text.find(R"("commandLine": "line one\r\nline two")"), std::string::npos) << text;
    EXPECT_NE(text.find("\"name\": \"Früh ✓\""), std::string::npos) << text;
    const auto parsed = nlohmann::json::parse(text);
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed[1].at("commandLine"), "line one\r\nline two");
    EXPECT_EQ(parsed[0].at("status"), "Enabled");
}

TEST(JsonFormat, EmptyListIsAnEmptyArray) { EXPECT_EQ(nlohmann::json::parse(cli::formatJson({})).size(), 0u); }

TEST(JsonFormat, BytesThatAreNotUtf8AreReplacedNotFatal) {
    EntryList rows;
    appendRow(rows, "bad\xFF", "x", "Registry\\Current User\\Run", true, "Reg", true);
    EXPECT_EQ(nlohmann::json::parse(cli::formatJson(rows))[0].at("name"), "bad\xEF\xBF\xBD");
}

TEST(TableFormat, FitsTheTerminalByCuttingTheCommandLineWithAnEllipsis) {
    EntryList rows;
    appendRow(rows, "Tool", "C:\\Program Files\\Some Vendor\\Some Product\\bin\\tool.exe --with --many --options",
              "Registry\\Current User\\Run", true, "Reg", true);
    const std::string table = cli::formatTable(rows, 80);
    const std::string line = table.substr(table.find('\n') + 1, table.rfind('\n') - table.find('\n') - 1);
    EXPECT_LE(columnsOf(line), 80u) << line;
    EXPECT_TRUE(line.starts_with("Tool  C:\\Program Files\\")) << line;
    EXPECT_NE(line.find("\xE2\x80\xA6  Yes  "), std::string::npos) << line;
    EXPECT_NE(line.find("Registry\\Current User\\Run"), std::string::npos);
}

TEST(TableFormat, NarrowTerminalCutsNamesAtCharacterBoundaries) {
    EntryList rows;
    appendRow(rows, "ÄÖÜ long name with umlauts ÄÖÜ", "cmd.exe", "Registry\\All Users\\Run Services Once", true,
              "Reg", true);
    const std::string table = cli::formatTable(rows, 60);
    for (std::size_t start = 0, end; (end = table.find('\n', start)) != std::string::npos; start = end + 1)
        EXPECT_LE(columnsOf(table.substr(start, end - start)), 60u);
    EXPECT_NO_THROW(nlohmann::json(table).dump()) << "the cut must leave valid UTF-8";
}

TEST(TableFormat, LineBreaksInACellStayOnOneTableLine) {
    const std::string table = cli::formatTable(awkwardRows(), 200);
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 3);
    EXPECT_NE(table.find("line one  line two"), std::string::npos);
}

}  // namespace lsu::test
