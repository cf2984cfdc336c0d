#include "ui/logic/LanguageTable.h"

#include <map>

namespace lsu {

std::string languageText(int number) {
    static const std::map<int, std::string> table = {
        {kTextWinIniEnableFailedPrompt,
         "Could not move the line back to win.ini. It stays disabled, and win.ini is unchanged."},
        {kTextWinIniEnableFailedTitle, "Enable failed"},
        {kTextDisableFailedPrompt, "Could not move the entry to the disabled store. It stays enabled where it was."},
        {kTextDisableFailedTitle, "Disable failed"},
        {kTextEnableFailedPrompt,
         "Could not move the entry back to where Windows starts it. It stays disabled where it was."},
        {kTextEnableFailedTitle, "Enable failed"},
    };
    auto it = table.find(number);
    return it == table.end() ? std::string() : it->second;
}

}  // namespace lsu
