#include "platform/win32/ShortcutTemplate.h"

#include <initializer_list>
#include <string>

namespace lsu::win32 {

namespace {

std::array<std::uint8_t, kLinkTemplateSize> makeTemplate() {
    std::array<std::uint8_t, kLinkTemplateSize> bytes{};
    std::size_t at = 0;
    auto put = [&](std::initializer_list<std::uint8_t> part) {
        for (std::uint8_t b : part) bytes[at++] = b;
    };
    auto text = [&](const char* s, bool terminated) {
        for (; *s; ++s) bytes[at++] = static_cast<std::uint8_t>(*s);
        if (terminated) bytes[at++] = 0;
    };
    put({0x4C, 0, 0, 0});                                                  // HeaderSize
    put({0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46});  // LinkCLSID
    put({0x1B, 0, 0, 0});                                                  // LinkFlags
    put({0, 0, 0, 0});                                                     // FileAttributes
    put({0x60, 0x8D, 0xA3, 0xD9, 0x9A, 0xBE, 0xC1, 0x01});                 // CreationTime
    put({0x00, 0xB0, 0x4B, 0x18, 0x91, 0xC4, 0xC1, 0x01});                 // AccessTime
    put({0x00, 0xA8, 0xEB, 0xB2, 0x46, 0xC3, 0xC1, 0x01});                 // WriteTime
    put({0x21, 0x01, 0, 0});                                               // FileSize
    put({0, 0, 0, 0});                                                     // IconIndex
    put({0x01, 0, 0, 0});                                                  // ShowCommand
    put({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});                             // HotKey, reserved
    put({0x4F, 0});                                                        // IDListSize
    put({0x14, 0, 0x1F, 0x0F});                                            // root item
    put({0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10, 0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D});
    put({0x19, 0, 0x23});  // drive item
    text("C:\\", false);
    at += 17;
    put({0x31, 0xAA});
    put({0x20, 0, 0x32, 0x00, 0x21, 0x01, 0, 0, 0x64, 0x2C, 0x5C, 0x34, 0, 0});  // file item
    text("boot.ini", true);
    text("BOOT.INI", true);
    put({0, 0});                                                                 // TerminalID
    put({0x61, 0, 0, 0, 0x1C, 0, 0, 0, 0x03, 0, 0, 0});                          // LinkInfo header
    put({0x1C, 0, 0, 0, 0x34, 0, 0, 0, 0x38, 0, 0, 0, 0x58, 0, 0, 0});           // LinkInfo offsets
    put({0x18, 0, 0, 0, 0x03, 0, 0, 0, 0xDC, 0x13, 0x28, 0x0E, 0x10, 0, 0, 0});  // VolumeID
    text("DRIVE_C", true);
    text("C:\\", true);                                                             // LocalBasePath
    put({0x20, 0, 0, 0, 0x02, 0, 0, 0, 0x14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x02, 0});  // network link
    text("\\\\", false);
    text(kTemplateComputerName, false);
    text("\\C", true);
    text("boot.ini", true);  // CommonPathSuffix
    put({0x0A, 0});
    text(".\\boot.ini", false);
    put({0x03, 0});
    text("C:\\", false);
    put({0, 0, 0, 0});  // TerminalBlock
    return bytes;
}

}  // namespace

const std::array<std::uint8_t, kLinkTemplateSize>& linkTemplate() {
    static_assert(std::char_traits<char>::length(kTemplateComputerName) == 7);
    static const auto bytes = makeTemplate();
    return bytes;
}

}  // namespace lsu::win32
