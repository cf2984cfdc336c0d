// Runs the real lstartup-cli.exe beside this suite against the prefix the
// suite seeds, and holds its output to the rows the window loads in-process.

#include <gtest/gtest.h>
#include <windows.h>

#include <nlohmann/json.hpp>
#include <algorithm>
#include <optional>
#include <thread>

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

CliResult runExecutable(const std::vector<std::string>& args) {
    // Beside this suite, in the folder the platform names the program's.
    std::wstring commandLine = quoted(widen(Win32Platform().programFolder() + "\\lstartup-cli.exe"));
    for (const std::string& argument : args) commandLine += L" " + quoted(widen(argument));
    Pipe out, err;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out.write->get();
    startup.hStdError = err.write->get();
    PROCESS_INFORMATION process = {};
    CliResult result;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
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

class CliExecutable : public MixedInventoryTest {};

}  // namespace

TEST_F(CliExecutable, JsonOfEverySectionIsTheWindowsRows) {
    for (SectionId id : sectionTree()) {
        const CliResult result = runExecutable({"list", std::string(section(id).key), "--format", "json"});
        ASSERT_EQ(result.code, cli::kExitOk) << section(id).key << result.err;
        EXPECT_EQ(result.out, cli::formatJson(loadSection(platform(), id).rows)) << section(id).key;
    }
}

TEST_F(CliExecutable, RedirectedOutputIsUtf8WithCrLfCsvAndAnEightyColumnTable) {
    const CliResult csv = runExecutable({"list", "--format", "csv"});
    ASSERT_EQ(csv.code, cli::kExitOk) << csv.err;
    EXPECT_NE(csv.out.find("Früh ✓"), std::string::npos);
    EXPECT_EQ(csv.out, cli::formatCsv(loadSection(platform(), SectionId::AllPrograms).rows));
    const CliResult table = runExecutable({"list"});
    EXPECT_EQ(table.out, cli::formatTable(loadSection(platform(), SectionId::AllPrograms).rows, 80));
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

}  // namespace lsu::test
