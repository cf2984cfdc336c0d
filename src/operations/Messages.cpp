#include "operations/Messages.h"

namespace lsu {

bool askReplace(UserPrompts& prompts, const std::string& what, const std::string& where) {
    prompts.beep();
    return prompts.ask(what + ": \"" + where + "\" exists. Replace it?", kAppTitle, kStyleYesNo);
}

void tellNothingChanged(UserPrompts& prompts) { prompts.tell(kNothingChangedPrompt, kAppTitle, kStyleInformation); }

std::string withReason(const std::string& text, const std::optional<SystemError>& reason) {
    if (!reason) return text;
    std::string reasonText = reason->message;
    if (reason->code != 0) reasonText += " (error " + std::to_string(reason->code) + ")";
    return text + "\r\n\r\n" + reasonText;
}

}  // namespace lsu
