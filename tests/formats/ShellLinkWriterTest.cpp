// The link info of a written link: the target's local path, in the system's
// code page and in UTF-16, each followed by its empty common suffix, where
// the structure's offsets say.

#include <gtest/gtest.h>

#include <string>

#include "base/Utf16.h"
#include "platform/formats/LittleEndian.h"
#include "platform/formats/ShellLinkHeader.h"
#include "platform/formats/ShellLinkWriter.h"

namespace lsu::formats {
namespace {

// The text from the byte at the offset the field at `field` names, up to its terminator.
std::string ansiAt(const std::vector<std::uint8_t>& link, std::size_t field) {
    std::string text;
    for (std::size_t at = kShellLinkHeaderSize + *readLe32(link, field); link.at(at) != 0; ++at)
        text += static_cast<char>(link[at]);
    return text;
}

std::u16string unicodeAt(const std::vector<std::uint8_t>& link, std::size_t field) {
    std::u16string text;
    for (std::size_t at = kShellLinkHeaderSize + *readLe32(link, field); *readLe16(link, at) != 0; at += 2)
        text += static_cast<char16_t>(*readLe16(link, at));
    return text;
}

TEST(ShellLinkWriter, TheLinkInfoHoldsTheTargetInBothEncodingsWithEmptySuffixes) {
    for (const char* target : {"C:\\Tools\\tool.exe", "C:\\Tools\\tools.exe"}) {
        const std::vector<std::uint8_t> link = shellLinkBytes({target, "", "", 0, 1, "", "", 0});
        const std::size_t info = kShellLinkHeaderSize;
        EXPECT_EQ(ansiAt(link, info + 16), target);
        EXPECT_EQ(ansiAt(link, info + 24), "") << target;
        EXPECT_EQ(unicodeAt(link, info + 28), utf16FromUtf8(target));
        EXPECT_EQ(unicodeAt(link, info + 32), u"") << target;
    }
}

}  // namespace
}  // namespace lsu::formats
