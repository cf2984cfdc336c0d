#include "ui/logic/StartArguments.h"

namespace lsu {

std::optional<SectionId> sectionToShowFirst(const std::vector<std::string>& args) {
    if (args.size() != 1) return std::nullopt;
    return findSectionIgnoringCase(args.front());
}

}  // namespace lsu
