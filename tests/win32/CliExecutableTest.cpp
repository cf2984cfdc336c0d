// Runs the real lstartup-cli.exe beside this suite against the prefix the
// suite seeds, and holds its output to the rows the window loads in-process.

#include <gtest/gtest.h>
#include <windows.h>

#include <nlohmann/json.hpp>
#include <algorithm>
#include <optional>
#include <thread>

#include "catalog/Sections.h"
#include "cli/CliHarness.h"
#include "cli/ExitCodes.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "scanners/SectionLoading.h"
#include "support/Seed.h"

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

// The quoting the C runtime undoes when it splits a command line.
std::wstring quoted(const std::wstring& argument) {
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

std::wstring toolPath() {
    wchar_t module[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path(module, length);
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"lstartup-cli.exe";
}

CliResult runExecutable(const std::vector<std::string>& args) {
    std::wstring commandLine = quoted(toolPath());
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
    for (const Section& section : sectionCatalog()) {
        const CliResult result = runExecutable({"list", std::string(section.key), "--format", "json"});
        ASSERT_EQ(result.code, cli::kExitOk) << section.key << result.err;
        std::vector<std::vector<std::string>> listed;
        for (const auto& object : nlohmann::json::parse(result.out))
            listed.push_back({object.at("name"), object.at("commandLine"), object.at("exists"),
                              object.at("section"), object.at("status"), object.at("type")});
        EXPECT_EQ(listed, fieldsOf(loadPrograms(platform(), section.key).rows)) << section.key;
    }
}

TEST_F(CliExecutable, RedirectedCsvIsUtf8WithCrLfAndTheWindowsRows) {
    const CliResult result = runExecutable({"list", "--format", "csv"});
    ASSERT_EQ(result.code, cli::kExitOk) << result.err;
    EXPECT_NE(result.out.find("Früh ✓"), std::string::npos);
    auto records = parseCsv(result.out);
    ASSERT_FALSE(records.empty());
    records.erase(records.begin());
    EXPECT_EQ(records, fieldsOf(loadPrograms(platform(), kRootSectionKey).rows));
}

TEST_F(CliExecutable, RedirectedTableIsEightyColumnsWide) {
    const CliResult result = runExecutable({"list"});
    ASSERT_EQ(result.code, cli::kExitOk) << result.err;
    for (std::size_t start = 0, end; (end = result.out.find('\n', start)) != std::string::npos; start = end + 1) {
        std::size_t columns = 0;
        for (std::size_t i = start; i < end; ++i) columns += (static_cast<unsigned char>(result.out[i]) & 0xC0) != 0x80;
        EXPECT_LE(columns, 80u) << result.out.substr(start, end - start);
    }
}

TEST_F(CliExecutable, NonAsciiArgumentsReachTheEntry) {
    const CliResult result = runExecutable({"disable", "Registry\\All Users\\Run Once", "Früh ✓"});
    EXPECT_EQ(result.code, cli::kExitOk) << result.err;
    const EntryList rows = loadPrograms(platform(), "Registry\\All Users\\Run Once").rows;
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Status, "Disabled");
}

TEST_F(CliExecutable, EveryErrorHasItsExitCodeAndChangesNothing) {
    seedRegistry(platform(), "Registry\\Current User\\Run", stringValue("Parked", "other.exe"));
    const auto before = inventory(platform());
    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{"frobnicate"}, cli::kExitUsage},
        {{"list", "Nowhere"}, cli::kExitUnknownSection},
        {{"delete", "Registry\\Current User\\Run", "Nobody", "--yes"}, cli::kExitEntryNotFound},
        {{"enable", "Registry\\Current User\\Run", "Parked"}, cli::kExitAmbiguousName},
        {{"delete", "Registry\\Current User\\Run", "Tool"}, cli::kExitRefused},
        {{"add", "Registry\\Current User\\Run", "Tool", "x.exe"}, cli::kExitRefused},
    };
    for (const auto& [args, code] : cases) {
        const CliResult result = runExecutable(args);
        EXPECT_EQ(result.code, code) << args.front() << ": " << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
    EXPECT_EQ(inventory(platform()), before);
}

TEST_F(CliExecutable, DeleteWithYesRemovesTheEntry) {
    const CliResult result = runExecutable({"delete", "Registry\\Current User\\Run", "Tool", "--yes"});
    EXPECT_EQ(result.code, cli::kExitOk) << result.err;
    for (const StartupEntry& row : loadPrograms(platform(), "Registry\\Current User\\Run").rows)
        EXPECT_NE(row.Name, "Tool");
}

}  // namespace lsu::test
