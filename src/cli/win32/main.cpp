// lstartup-cli.exe: the console entry point. Arguments arrive as UTF-16 and
// leave as UTF-8; output is UTF-8 whatever the console code page, written as
// UTF-16 to a console and as raw UTF-8 bytes to a file or pipe.

#include <windows.h>

#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "cli/EntryFormats.h"
#include "cli/ExitCodes.h"
#include "cli/RunCli.h"
#include "cli/VersionLine.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Platform.h"

namespace {

// Collects UTF-8 and hands it on a line at a time: a line end never falls
// inside a multi-byte character, so no character is split between writes.
class HandleStreamBuf : public std::streambuf {
public:
    explicit HandleStreamBuf(HANDLE handle) : handle_(handle) {
        DWORD mode = 0;
        isConsole_ = handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr && GetConsoleMode(handle_, &mode);
    }
    ~HandleStreamBuf() override { flushPending(); }
    HandleStreamBuf(const HandleStreamBuf&) = delete;
    HandleStreamBuf& operator=(const HandleStreamBuf&) = delete;

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        pending_ += traits_type::to_char_type(c);
        if (c == '\n') flushPending();
        return c;
    }
    int sync() override {
        flushPending();
        return 0;
    }

private:
    void flushPending() {
        if (pending_.empty() || handle_ == INVALID_HANDLE_VALUE || handle_ == nullptr) {
            pending_.clear();
            return;
        }
        if (isConsole_) {
            const std::wstring wide = lsu::win32::widen(pending_);
            DWORD written = 0;
            WriteConsoleW(handle_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        } else {
            DWORD written = 0;
            WriteFile(handle_, pending_.data(), static_cast<DWORD>(pending_.size()), &written, nullptr);
        }
        pending_.clear();
    }

    HANDLE handle_;
    bool isConsole_ = false;
    std::string pending_;
};

// A table is fitted to the console window a person reads; a file or a pipe
// gets every cell whole. The console moves the cursor on as soon as a line
// fills its last column, so a line as wide as the window would be followed
// by an empty one: the table keeps that column free.
int terminalWidth(HANDLE output) {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(output, &info)) return lsu::cli::kWholeCells;
    return info.srWindow.Right - info.srWindow.Left;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(lsu::win32::narrow(argv[i]));

    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    HandleStreamBuf outBuffer(output);
    HandleStreamBuf errBuffer(GetStdHandle(STD_ERROR_HANDLE));
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);

    if (lsu::cli::asksForVersion(args)) {
        out << lsu::cli::kVersionLine;
        return lsu::cli::kExitOk;
    }
    lsu::Win32Platform platform;
    const int code = lsu::cli::runCli(lsu::portsOf(platform), "lstartup-cli", args, out, err, terminalWidth(output));
    out.flush();
    err.flush();
    return code;
}
