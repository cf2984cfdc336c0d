#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "catalog/Sections.h"
#include "cli/CliHarness.h"
#include "cli/ExitCodes.h"
#include "scanners/SectionLoading.h"

namespace lsu::test {

namespace {

class ListCommand : public MixedInventoryTest {};

std::vector<std::vector<std::string>> fieldsOfJson(const std::string& text) {
    std::vector<std::vector<std::string>> fields;
    for (const auto& object : nlohmann::json::parse(text))
        fields.push_back({object.at("name"), object.at("commandLine"), object.at("exists"), object.at("section"),
                          object.at("status"), object.at("type")});
    return fields;
}

}  // namespace

TEST_F(ListCommand, CsvHoldsTheWindowsRowsOfEverySection) {
    for (const Section& section : sectionCatalog()) {
        const CliResult result = runTool(platform(), {"list", std::string(section.key), "--format", "csv"});
        ASSERT_EQ(result.code, cli::kExitOk) << section.key << result.err;
        auto records = parseCsv(result.out);
        ASSERT_FALSE(records.empty());
        EXPECT_EQ(records.front(),
                  (std::vector<std::string>{"Name", "Command Line", "Exists", "Section", "Status", "Type"}));
        records.erase(records.begin());
        EXPECT_EQ(records, fieldsOf(loadPrograms(platform(), section.key).rows)) << section.key;
    }
}

TEST_F(ListCommand, JsonHoldsTheWindowsRowsOfEverySection) {
    for (const Section& section : sectionCatalog()) {
        const CliResult result = runTool(platform(), {"list", std::string(section.key), "--format", "json"});
        ASSERT_EQ(result.code, cli::kExitOk) << section.key << result.err;
        EXPECT_EQ(fieldsOfJson(result.out), fieldsOf(loadPrograms(platform(), section.key).rows)) << section.key;
    }
}

TEST_F(ListCommand, TableShowsEveryRowsCellsInOrderOnAWideTerminal) {
    for (const Section& section : sectionCatalog()) {
        const CliResult result = runTool(platform(), {"list", std::string(section.key)}, 1000);
        ASSERT_EQ(result.code, cli::kExitOk) << section.key << result.err;
        std::vector<std::string> lines;
        for (std::size_t start = 0, end; (end = result.out.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(result.out.substr(start, end - start));
        const auto rows = fieldsOf(loadPrograms(platform(), section.key).rows);
        ASSERT_EQ(lines.size(), rows.size() + 1) << section.key;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            std::size_t at = 0;
            for (const std::string& cell : rows[i]) {
                at = lines[i + 1].find(cell, at);
                ASSERT_NE(at, std::string::npos) << section.key << ": " << cell;
                at += cell.size();
            }
        }
    }
}

TEST_F(ListCommand, DefaultsToAllProgramsAndIgnoresTheCaseOfTheSection) {
    const auto all = runTool(platform(), {"list", "--format", "csv"});
    EXPECT_EQ(parseCsv(all.out).size(), loadPrograms(platform(), kRootSectionKey).rows.size() + 1);
    const auto run = runTool(platform(), {"list", "registry\\current user\\RUN", "--format", "csv"});
    EXPECT_EQ(parseCsv(run.out).size(), loadPrograms(platform(), "Registry\\Current User\\Run").rows.size() + 1);
    EXPECT_EQ(run.code, cli::kExitOk);
}

TEST_F(ListCommand, ListingChangesNothing) {
    const auto before = inventory(platform());
    for (const char* format : {"table", "csv", "json"}) runTool(platform(), {"list", "--format", format});
    EXPECT_EQ(inventory(platform()), before);
}

TEST_F(ListCommand, UnknownFormatIsAUsageError) {
    const auto result = runTool(platform(), {"list", "--format", "xml"});
    EXPECT_EQ(result.code, cli::kExitUsage);
    EXPECT_TRUE(result.out.empty());
}

}  // namespace lsu::test
