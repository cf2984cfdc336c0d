#include "operations/ShortcutWriter.h"

#include "operations/FileNames.h"
#include "operations/Questions.h"

namespace lsu {

Status createShortcut(const SourcePorts& ports, UserPrompts& prompts, std::string& linkFile,
                      const ShortcutFields& fields) {
    linkFile = withLinkExtension(linkFile);
    const bool exists = ports.files.fileExists(linkFile);
    if (exists)
        if (Status answer = askReplace(prompts, "The link file", linkFile); !answer) return answer;
    return ports.links.writeShortcut(linkFile, fields, exists);
}

}  // namespace lsu
