#include "catalog/Sections.h"
#include "operations/Operations.h"

namespace lsu {

std::vector<std::string> dialogSections(bool forAdd) {
    std::vector<std::string> sections = {std::string(kStartupAllUsers),
                                         std::string(kStartupCurrentUser),
                                         "Registry\\Current User\\Run",
                                         "Registry\\Current User\\Run Once",
                                         "Registry\\All Users\\Run",
                                         "Registry\\All Users\\Run Once",
                                         "Registry\\All Users\\Run Once Ex",
                                         "Registry\\All Users\\Run Services",
                                         "Registry\\All Users\\Run Services Once"};
    if (!forAdd) {
        sections.emplace_back(kWinIniLoad);
        sections.emplace_back(kWinIniRun);
    }
    return sections;
}

}  // namespace lsu
