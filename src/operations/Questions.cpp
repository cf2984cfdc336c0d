#include "operations/Questions.h"

namespace lsu {

Status askReplace(UserPrompts& prompts, const std::string& what, const std::string& where) {
    const std::string question = what + ": \"" + where + "\" exists. Replace it?";
    prompts.beep();
    if (prompts.ask(question, kAppTitle, MessageKind::Plain)) return {};
    return Error{ErrorKind::DeclinedByUser, 0, question};
}

}  // namespace lsu
