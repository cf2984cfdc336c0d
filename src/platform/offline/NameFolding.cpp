#include "platform/offline/NameFolding.h"

#include <clocale>
#include <cwctype>

#include "platform/formats/Utf16.h"

namespace lsu::offline {

namespace {

// Unicode's case mapping, whatever locale the process runs in.
locale_t unicodeLocale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return locale;
}

}  // namespace

std::u16string foldedName(std::string_view utf8) {
    std::u16string units = formats::utf16FromUtf8(utf8);
    const locale_t locale = unicodeLocale();
    for (char16_t& unit : units) {
        if (unit >= u'a' && unit <= u'z') {
            unit = static_cast<char16_t>(unit - 32);
        } else if (unit >= 0x80 && (unit < 0xD800 || unit > 0xDFFF) && locale) {
            const auto upper = static_cast<std::uint32_t>(towupper_l(static_cast<wint_t>(unit), locale));
            if (upper < 0x10000) unit = static_cast<char16_t>(upper);
        }
    }
    return units;
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a == b) return true;
    return foldedName(a) == foldedName(b);
}

bool nameLessIgnoringCase(std::string_view a, std::string_view b) { return foldedName(a) < foldedName(b); }

}  // namespace lsu::offline
