// The Linux tool's table as a person and a script each get it: fitted to the
// width of the terminal it writes to, whole in a file or a pipe.

#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/CliHarness.h"
#include "offline/OfflineFixture.h"

namespace lsu::test {
namespace {

const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kLongCommand =
    "\"C:\\Program Files\\Vendor Name\\Product Suite\\bin\\updater.exe\" --background --check-interval=3600";

// What the tool writes to a terminal `columns` wide, its line ends as the
// program wrote them.
std::string inTerminal(const std::string& tree, const std::vector<std::string>& args, unsigned short columns) {
    std::vector<std::string> words = {LSU_CLI_PATH, "--offline", tree};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    winsize size{};
    size.ws_col = columns;
    size.ws_row = 24;
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, &size);
    if (child == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    std::string shown;
    char buffer[4096];
    for (ssize_t got; child > 0 && (got = ::read(terminal, buffer, sizeof buffer)) > 0;)
        shown.append(buffer, static_cast<std::size_t>(got));
    if (terminal >= 0) ::close(terminal);
    int status = 0;
    if (child > 0) ::waitpid(child, &status, 0);
    // The terminal turns each line end into CR LF.
    std::erase(shown, '\r');
    return shown;
}

class TerminalTable : public ::testing::Test {
protected:
    std::string tree = makeWindowsTree(suiteVolume().mountPoint());
    void SetUp() override { fillHive(tree + kUserHive, {stringEntry(kRun, "Updater", kLongCommand)}); }
};

TEST_F(TerminalTable, APipeGetsEveryCellWhole) {
    const ProcessResult piped = runTool(tree, {"list"});
    ASSERT_EQ(piped.code, 0) << piped.out;
    EXPECT_NE(piped.out.find(kLongCommand), std::string::npos) << piped.out;
    EXPECT_NE(piped.out.find("Publisher"), std::string::npos) << piped.out;
}

TEST_F(TerminalTable, ATerminalGetsTheTableFittedToItsWidthAndWithWideEveryCellWhole) {
    const std::string fitted = inTerminal(tree, {"list"}, 80);
    const std::vector<std::string> lines = linesOf(fitted);
    ASSERT_EQ(lines.size(), 2u) << fitted;
    for (const std::string& line : lines) EXPECT_LE(charactersOf(line), 80) << line;
    EXPECT_TRUE(lines[1].starts_with("Updater  \"C:\\Program Files\\Vendor Name\\Pr")) << lines[1];
    EXPECT_NE(lines[1].find("\xE2\x80\xA6"), std::string::npos) << lines[1];
    EXPECT_EQ(inTerminal(tree, {"list", "--wide"}, 80), runTool(tree, {"list"}).out);
}

// A terminal that tells no width is taken as 80 columns wide.
TEST_F(TerminalTable, TheRowTakesTheTerminalsWidth) {
    for (const auto& [columns, width] : {std::pair<unsigned short, int>{80, 80}, {100, 100}, {0, 80}}) {
        const std::vector<std::string> lines = linesOf(inTerminal(tree, {"list"}, columns));
        ASSERT_EQ(lines.size(), 2u) << columns;
        EXPECT_EQ(charactersOf(lines[1]), width) << lines[1];
    }
}

}  // namespace
}  // namespace lsu::test
