// Prints a row of a program's main window as "Column: text" lines in UTF-8.
//   lsu_window_rows PROGRAM NAME

#include <cstdio>

#include "release/ProgramRows.h"

namespace {

void print(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        print(L"usage: lsu_window_rows PROGRAM NAME\n");
        return 2;
    }
    const lsu::test::ProgramRow row = lsu::test::readProgramRow(argv[1], argv[2]);
    if (!row.failure.empty()) {
        print(row.failure + L"\n");
        return 1;
    }
    for (const auto& [column, text] : row.cells) print(column + L": " + text + L"\n");
    return 0;
}
