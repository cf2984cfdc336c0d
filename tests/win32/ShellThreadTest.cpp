#include <gtest/gtest.h>

#include <thread>

#include "platform/win32/Win32Platform.h"
#include "support/Backend.h"
#include "support/Scratch.h"

namespace lsu {
namespace {

// Each thread that reads links lets go of its link object before it leaves
// the shell's apartment, whether it entered the shell itself or not.
TEST(ShellThread, ThreadsThatReadLinksEndCleanly) {
    auto backend = test::makeCleanBackend();
    test::Scratch scratch(backend->platform(), "shell threads");
    const std::string link = scratch.file("Tool.lnk", "");
    ShortcutFields fields;
    fields.targetPath = backend->platform().windowsDirectory() + "\\notepad.exe";
    backend->seedShortcut(link, fields);
    for (int round = 0; round < 40; ++round) {
        const bool entersShell = round % 2 == 0;
        std::thread([&] {
            std::optional<win32::ShellThread> shell;
            if (entersShell) shell.emplace();
            for (int read = 0; read < 20; ++read)
                EXPECT_EQ(backend->platform().readShortcut(link).value().fields.targetPath, fields.targetPath);
        }).join();
    }
}

}  // namespace
}  // namespace lsu
