#include "platform/formats/ShellLinkWriter.h"

#include <array>

#include "base/Utf16.h"
#include "platform/formats/AnsiCodePage.h"
#include "platform/formats/LittleEndian.h"

namespace lsu::formats {

namespace {

constexpr std::uint32_t kHasLinkInfo = 0x2, kHasName = 0x4, kHasWorkingDir = 0x10, kHasArguments = 0x20,
                        kHasIconLocation = 0x40, kIsUnicode = 0x80, kHasExpString = 0x200;
constexpr std::array<std::uint8_t, 16> kShellLinkClassId = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                            0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::uint32_t kLinkInfoHeaderSize = 0x24;  // with the offsets of the Unicode paths
constexpr std::uint32_t kVolumeIdSize = 0x11;        // its fields and an empty label
constexpr std::uint32_t kDriveFixed = 3;
constexpr std::uint32_t kEnvironmentBlockSignature = 0xA0000001;
constexpr std::size_t kEnvironmentTargetUnits = 260;

void putAnsiTerminated(LittleEndianWriter& out, std::u16string_view text) {
    for (char c : ansiFromUtf16(text)) out.u8(static_cast<std::uint8_t>(c));
    out.u8(0);
}

void putUnicodeTerminated(LittleEndianWriter& out, std::u16string_view text) {
    out.append(bytesOfUtf16(text));
    out.u16(0);
}

// A local path on a fixed drive whose serial number and label are not known.
void putLinkInfo(LittleEndianWriter& out, std::u16string_view path) {
    const std::size_t start = out.size();
    const std::uint32_t ansiPath = kLinkInfoHeaderSize + kVolumeIdSize;
    const std::uint32_t ansiSuffix = ansiPath + static_cast<std::uint32_t>(ansiFromUtf16(path).size()) + 1;
    const std::uint32_t unicodePath = (ansiSuffix + 1 + 1) & ~1u;
    const std::uint32_t unicodeSuffix = unicodePath + static_cast<std::uint32_t>(path.size() + 1) * 2;
    out.u32(unicodeSuffix + 2);
    out.u32(kLinkInfoHeaderSize);
    out.u32(1);  // VolumeIDAndLocalBasePath
    out.u32(kLinkInfoHeaderSize);
    out.u32(ansiPath);
    out.u32(0);  // no network share
    out.u32(ansiSuffix);
    out.u32(unicodePath);
    out.u32(unicodeSuffix);
    out.u32(kVolumeIdSize);
    out.u32(kDriveFixed);
    out.u32(0);     // serial number
    out.u32(0x10);  // label offset
    out.u8(0);
    putAnsiTerminated(out, path);
    out.u8(0);  // empty common path suffix
    out.zeros(start + unicodePath - out.size());
    putUnicodeTerminated(out, path);
    out.u16(0);
}

// A string's count is 16 bits wide; what lies beyond it cannot be kept.
void putString(LittleEndianWriter& out, std::u16string_view text) {
    text = text.substr(0, 0xFFFF);
    out.u16(static_cast<std::uint16_t>(text.size()));
    out.append(bytesOfUtf16(text));
}

void putEnvironmentBlock(LittleEndianWriter& out, std::u16string_view target) {
    out.u32(8 + kEnvironmentTargetUnits * 3);
    out.u32(kEnvironmentBlockSignature);
    const std::string ansi = ansiFromUtf16(target);
    for (std::size_t i = 0; i < kEnvironmentTargetUnits; ++i)
        out.u8(i < ansi.size() ? static_cast<std::uint8_t>(ansi[i]) : 0);
    for (std::size_t i = 0; i < kEnvironmentTargetUnits; ++i) out.u16(i < target.size() ? target[i] : 0);
}

}  // namespace

std::vector<std::uint8_t> shellLinkBytes(const ShortcutFields& fields) {
    const std::u16string target = utf16FromUtf8(fields.targetPath);
    const std::u16string description = utf16FromUtf8(fields.description);
    const std::u16string workDir = utf16FromUtf8(fields.workDir);
    const std::u16string arguments = utf16FromUtf8(fields.arguments);
    const std::u16string icon = utf16FromUtf8(fields.iconFile);
    // The block holds a target of fewer than 260 units; a longer one stays a
    // plain path, as written.
    const bool expandable = target.find(u'%') != std::u16string::npos && target.size() < kEnvironmentTargetUnits;

    std::uint32_t flags = kIsUnicode;
    if (!target.empty()) flags |= expandable ? kHasExpString : kHasLinkInfo;
    if (!description.empty()) flags |= kHasName;
    if (!workDir.empty()) flags |= kHasWorkingDir;
    if (!arguments.empty()) flags |= kHasArguments;
    if (!icon.empty()) flags |= kHasIconLocation;

    LittleEndianWriter out;
    out.u32(kHeaderSize);
    out.append(kShellLinkClassId);
    out.u32(flags);
    out.zeros(4 + 3 * 8 + 4);  // attributes, times and size of a target not looked at
    out.u32(static_cast<std::uint32_t>(fields.iconIndex));
    out.u32(static_cast<std::uint32_t>(fields.showCmd));
    out.u16(static_cast<std::uint16_t>(fields.hotKey));
    out.zeros(2 + 4 + 4);
    if (flags & kHasLinkInfo) putLinkInfo(out, target);
    if (flags & kHasName) putString(out, description);
    if (flags & kHasWorkingDir) putString(out, workDir);
    if (flags & kHasArguments) putString(out, arguments);
    if (flags & kHasIconLocation) putString(out, icon);
    if (flags & kHasExpString) putEnvironmentBlock(out, target);
    out.u32(0);  // terminal block
    return std::move(out.bytes());
}

}  // namespace lsu::formats
