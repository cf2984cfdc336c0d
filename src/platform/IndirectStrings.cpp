#include "platform/IndirectStrings.h"

#include "platform/formats/StringResource.h"

namespace lsu {

namespace {

std::string stringOf(const std::string& path, std::uint16_t id, const ImageOpener& open) {
    auto image = open(path);
    if (!image) return {};
    auto text = formats::stringResource(*image, id);
    return text ? *text : std::string();
}

}  // namespace

std::string indirectStringText(const formats::IndirectString& reference, SystemFacts& system, const ImageOpener& open,
                               const std::vector<std::string>& languages) {
    std::string library = system.expandEnvironment(reference.file);
    if (library.find('\\') == std::string::npos) library = system.windowsDirectory() + "\\System32\\" + library;
    if (std::string text = stringOf(library, reference.id, open); !text.empty()) return text;
    for (const std::string& language : languages)
        if (std::string text = stringOf(formats::muiFileOf(library, language), reference.id, open); !text.empty())
            return text;
    return {};
}

}  // namespace lsu
