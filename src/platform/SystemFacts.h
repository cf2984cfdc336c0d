#pragma once
// What the system says about itself: its folders and its environment.

#include <string>

namespace lsu {

// The shell's folders the program reads start-up entries from, and the
// current user's local application data, where it parks that user's items.
enum class ShellFolder { UserStartup, CommonStartup, LocalAppData };

class SystemFacts {
public:
    virtual ~SystemFacts() = default;
    virtual std::string shellFolder(ShellFolder folder) = 0;  // empty when the system names none
    virtual std::string windowsDirectory() = 0;               // no trailing backslash
    virtual std::string programFolder() = 0;                  // the folder of the program, no trailing backslash
    // %NAME% replaced by the variable's value; unknown names left as written.
    virtual std::string expandEnvironment(const std::string& text) = 0;
};

}  // namespace lsu
