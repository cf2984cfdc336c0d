// Takes arbitrary text apart as a command line, the way a load and Run do.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/WindowsPaths.h"
#include "catalog/CommandLine.h"
#include "catalog/ExistenceCheck.h"
#include "platform/memory/MemoryPlatform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static lsu::MemoryPlatform platform = [] {
        lsu::MemoryPlatform p;
        p.putFile("C:\\Program Files\\My App\\app.exe", {'x'});
        p.putFile("C:\\windows\\notepad.exe", {'x'});
        return p;
    }();
    const std::string text(reinterpret_cast<const char*>(data), size);
    lsu::ExistenceCheck check(platform, platform, platform);
    check.programExists(text);
    auto split = lsu::splitCommandLine(text, [](const std::string& path) { return platform.fileExists(path); });
    lsu::parentFolderOf(split.program);
    return 0;
}
