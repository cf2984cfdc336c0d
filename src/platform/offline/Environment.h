#pragma once
// The offline system's environment variables, as far as a program that
// tests whether a start-up entry's program exists needs them, and their
// expansion as ExpandEnvironmentStrings does it: names ignoring case, an
// unknown %NAME% left as written.

#include <map>
#include <string>

namespace lsu::offline {

class Environment {
public:
    void set(const std::string& name, const std::string& value);
    std::string expand(const std::string& text) const;

private:
    std::map<std::u16string, std::string> values_;  // by folded name
};

}  // namespace lsu::offline
