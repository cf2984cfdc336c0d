#include "ui/logic/WindowTexts.h"

#include <algorithm>

#include "ProductIdentity.h"
#include "operations/Questions.h"

namespace lsu {

std::string aboutText() {
    return std::string(kAppTitle) + " " LSU_VERSION_TEXT
                                    "\r\n\r\nShows every program Windows starts by itself and lets you disable, "
                                    "enable, add, edit, delete and run them.\r\n\r\n" LSU_COPYRIGHT;
}

std::string statusText(const EntryList& rows, const StartupEntry* about) {
    if (about)
        if (const char* reason = stateReason(*about)) return reason;
    const auto idle =
        std::count_if(rows.begin(), rows.end(), [](const StartupEntry& row) { return !startsWithWindows(row); });
    std::string text = std::to_string(rows.size()) + (rows.size() == 1 ? " program, " : " programs, ") +
                       std::to_string(idle) + " disabled";
    const auto marked = [&](SinceLastLook mark) {
        return std::count_if(rows.begin(), rows.end(),
                             [&](const StartupEntry& row) { return row.sinceLastLook == mark; });
    };
    const auto added = marked(SinceLastLook::New), changed = marked(SinceLastLook::Changed);
    if (added || changed)
        text += "; since the last look " + std::to_string(added) + " new, " + std::to_string(changed) + " changed";
    return text;
}

UserMessage deleteQuestion() {
    return {"Are you sure to delete the selected item?\r\n\r\nThis action can not be undone.", "Warning",
            MessageKind::Question};
}

UserMessage messageAfterFailedRun(const std::string& file, const Error& error) {
    return {"Could not start \"" + file + "\":\r\n" + error.message, kAppTitle, MessageKind::Critical};
}

UserMessage messageAfterInterruptedCommand(const std::string& reason) {
    return {withReason("The command was cut short. Refresh the list and check where the entry stands.",
                       Error{ErrorKind::System, 0, reason}),
            kAppTitle, MessageKind::Critical};
}

}  // namespace lsu
