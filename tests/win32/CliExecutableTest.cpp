// Runs the real lstartup-cli.exe beside this suite against the prefix the
// suite seeds, and holds its output to the rows the window loads in-process.

#include <gtest/gtest.h>
#include <windows.h>

#include <nlohmann/json.hpp>
#include <algorithm>
#include <optional>
#include <thread>

#include "ProductIdentity.h"
#include "cli/CliHarness.h"
#include "cli/ExitCodes.h"
#include "platform/win32/Owned.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"

namespace lsu::test {

namespace {

using win32::widen;

// The child inherits the write end; ours is closed once the child runs, so
// that reading ends when the child exits.
struct Pipe {
    Pipe() {
        SECURITY_ATTRIBUTES security = {sizeof security, nullptr, TRUE};
        HANDLE readEnd = nullptr, writeEnd = nullptr;
        CreatePipe(&readEnd, &writeEnd, &security, 0);
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        read.emplace(readEnd);
        write.emplace(writeEnd);
    }
    std::optional<win32::FileHandle> read, write;
};

std::string readAll(HANDLE pipe) {
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    return text;
}

// The C runtime splits the command line at spaces outside quotes; no
// argument of these tests holds a quote or ends in a backslash.
std::wstring quoted(const std::wstring& argument) { return L"\"" + argument + L"\""; }

// Output goes to a pipe unless a console screen buffer is given.
CliResult runExecutable(const std::vector<std::string>& args, HANDLE console = nullptr) {
    // Beside this suite, in the folder the platform names the program's.
    std::wstring commandLine = quoted(widen(Win32Platform().programFolder() + "\\lstartup-cli.exe"));
    for (const std::string& argument : args) commandLine += L" " + quoted(widen(argument));
    Pipe out, err;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = console ? console : out.write->get();
    startup.hStdError = err.write->get();
    PROCESS_INFORMATION process = {};
    CliResult result;
    // A console's buffer serves only the processes attached to that console.
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, console ? 0 : CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process))
        return result;
    win32::FileHandle processHandle(process.hProcess), threadHandle(process.hThread);
    out.write.reset();
    err.write.reset();
    std::thread errReader([&] { result.err = readAll(err.read->get()); });
    result.out = readAll(out.read->get());
    errReader.join();
    WaitForSingleObject(processHandle.get(), INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(processHandle.get(), &code);
    result.code = static_cast<int>(code);
    return result;
}

// A console of the suite's own, with a window, for the tool to write to.
// Wine gives every console program a console of the terminal it runs in,
// which has no screen buffers to read back; it is given up only when the
// suite's own output does not go to it.
class OwnConsole {
public:
    OwnConsole() {
        DWORD mode = 0;
        if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode)) return;
        FreeConsole();
        made_ = AllocConsole() != FALSE;
    }
    ~OwnConsole() {
        if (made_) FreeConsole();
    }
    OwnConsole(const OwnConsole&) = delete;
    OwnConsole& operator=(const OwnConsole&) = delete;
    bool made() const { return made_; }

private:
    bool made_ = false;
};

// The lines the tool leaves in a console window `width` columns wide, as a
// person there reads them.
std::vector<std::string> consoleLines(const std::vector<std::string>& args, SHORT width) {
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    const win32::FileHandle screen(CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE,
                                                             FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                                             CONSOLE_TEXTMODE_BUFFER, nullptr));
    const SMALL_RECT narrow = {0, 0, 19, 9}, window = {0, 0, static_cast<SHORT>(width - 1), 24};
    if (!SetConsoleWindowInfo(screen.get(), TRUE, &narrow) || !SetConsoleScreenBufferSize(screen.get(), {width, 200}) ||
        !SetConsoleWindowInfo(screen.get(), TRUE, &window)) {
        ADD_FAILURE() << "no console window " << width << " columns wide: error " << GetLastError();
        return {};
    }
    const CliResult result = runExecutable(args, screen.get());
    EXPECT_EQ(result.code, cli::kExitOk) << result.err;
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    GetConsoleScreenBufferInfo(screen.get(), &info);
    std::vector<std::string> lines;
    for (SHORT row = 0; row < info.dwCursorPosition.Y; ++row) {
        std::wstring text(static_cast<std::size_t>(width), L' ');
        DWORD read = 0;
        ReadConsoleOutputCharacterW(screen.get(), text.data(), static_cast<DWORD>(width), {0, row}, &read);
        text.erase(text.find_last_not_of(L' ') + 1);
        lines.push_back(win32::narrow(text));
    }
    return lines;
}

class CliExecutable : public MixedInventoryTest {};

}  // namespace

TEST_F(CliExecutable, JsonOfEverySectionIsTheWindowsRows) {
    for (SectionId id : sectionTree()) {
        const CliResult result = runExecutable({"list", std::string(section(id).key), "--format", "json"});
        ASSERT_EQ(result.code, cli::kExitOk) << section(id).key << result.err;
        EXPECT_EQ(result.out, cli::formatJson(loadSection(platform(), id).rows)) << section(id).key;
    }
}

TEST_F(CliExecutable, RedirectedOutputIsUtf8WithCrLfCsvAndTheWholeTable) {
    const CliResult csv = runExecutable({"list", "--format", "csv"});
    ASSERT_EQ(csv.code, cli::kExitOk) << csv.err;
    EXPECT_NE(csv.out.find("Früh ✓"), std::string::npos);
    EXPECT_EQ(csv.out, cli::formatCsv(loadSection(platform(), SectionId::AllPrograms).rows));
    const CliResult table = runExecutable({"list"});
    EXPECT_EQ(table.out, cli::formatTable(loadSection(platform(), SectionId::AllPrograms).rows, cli::kWholeCells));
}

// In a console the table is fitted to the window, its last column left free
// so that no line wraps into an empty one; --wide prints it whole there too.
TEST_F(CliExecutable, InAConsoleTheTableFitsTheWindow) {
    const OwnConsole console;
    if (!console.made()) GTEST_SKIP() << "the suite's own output goes to its console";
    const EntryList rows = loadSection(platform(), SectionId::AllPrograms).rows;
    EXPECT_EQ(consoleLines({"list"}, 80), linesOf(cli::formatTable(rows, 79)));
    const std::vector<std::string> wide = consoleLines({"list", "--wide"}, 200);
    EXPECT_EQ(wide, linesOf(cli::formatTable(rows, cli::kWholeCells)));
}

TEST_F(CliExecutable, NonAsciiArgumentsReachTheEntryAndErrorsTheirExitCode) {
    const CliResult disabled = runExecutable({"disable", "Registry\\All Users\\Run Once", "Früh ✓"});
    EXPECT_EQ(disabled.code, cli::kExitOk) << disabled.err;
    EXPECT_FALSE(findRow(platform(), SectionId::MachineRunOnce, "Früh ✓").value().enabled);
    const std::string before = inventory(platform());
    const CliResult refused = runExecutable({"delete", "Registry\\Current User\\Run", "Tool"});
    EXPECT_EQ(refused.code, cli::kExitRefused);
    EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
    EXPECT_EQ(inventory(platform()), before);
}

TEST_F(CliExecutable, VersionNamesTheBuild) {
    const CliResult result = runExecutable({"--version"});
    EXPECT_EQ(result.code, cli::kExitOk);
    EXPECT_EQ(result.out, "lstartup-cli " LSU_VERSION_TEXT "\n");
}

}  // namespace lsu::test
