#include "operations/Messages.h"

namespace lsu {

bool askReplace(UserPrompts& prompts, const std::string& what, const std::string& where) {
    prompts.beep();
    return prompts.ask(what + ": \"" + where + "\" exists. Replace it?", kAppTitle, kStyleYesNo);
}

void tellNothingChanged(UserPrompts& prompts) { prompts.tell(kNothingChangedPrompt, kAppTitle, kStyleInformation); }

}  // namespace lsu
