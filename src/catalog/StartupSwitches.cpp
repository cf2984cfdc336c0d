#include "catalog/StartupSwitches.h"

#include <algorithm>

namespace lsu {

namespace {

constexpr std::size_t kSwitchSize = 12;  // four bytes of flags, then a FILETIME
constexpr std::size_t kFlagsSize = 4;

}  // namespace

std::optional<RegistryLocation> switchKeyOf(SectionId leaf, RegistryView view) {
    const auto& switches = section(leaf).switches;
    if (!switches) return std::nullopt;
    const bool thirtyTwo = view == RegistryView::Bits32 && !switches->subkey32.empty();
    // The switches of both views live in the 64-bit view's key.
    return RegistryLocation{switches->hive, switches->hive == Hive::CurrentUser ? RegistryView::Shared : RegistryView::Bits64,
                            std::string(thirtyTwo ? switches->subkey32 : switches->subkey)};
}

std::string switchNameOf(const StartupEntry& entry) {
    return entry.fileName.empty() ? entry.name : entry.fileName;
}

bool switchSaysOff(const RegistryValue& value) {
    return value.type == kRegBinary && value.data.size() >= kFlagsSize && (value.data[0] & 1) != 0;
}

RegistryValue switchedOn(const RegistryValue& value) {
    RegistryValue on = value;
    on.type = kRegBinary;
    if (on.data.size() < kSwitchSize) on.data.resize(kSwitchSize, 0);
    on.data[0] &= static_cast<std::uint8_t>(~1u);
    std::fill(on.data.begin() + kFlagsSize, on.data.begin() + kSwitchSize, 0);
    return on;
}

}  // namespace lsu
