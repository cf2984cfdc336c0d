#include "catalog/ExistenceCheck.h"

#include "catalog/DisabledStores.h"
#include "catalog/Text.h"

namespace lsu {

namespace {

std::string cutAt(std::string_view text, std::string_view marker) {
    return trimSpaces(text.substr(0, text.find(marker)));
}

}  // namespace

ExistenceCheck::ExistenceCheck(Platform& platform) : platform_(platform), windowsFolder_(withTrailingBackslash(windowsFolder(platform))) {}

bool ExistenceCheck::fileExists(const std::string& path) {
    auto [it, inserted] = known_.try_emplace(path, false);
    if (inserted) {
        ++probes_;
        it->second = platform_.fileExists(path);
    }
    return it->second;
}

// A name without a drive is also looked for in the Windows folder and its
// system folders, as the loader of old start-up entries did. A name with a
// drive cannot be found there, so those probes are skipped.
bool ExistenceCheck::probeWithSystemFolders(const std::string& candidate) {
    if (candidate.empty()) return false;
    if (fileExists(candidate)) return true;
    if (candidate.find(':') != std::string::npos) return false;
    return fileExists(windowsFolder_ + candidate) || fileExists(windowsFolder_ + "system\\" + candidate) ||
           fileExists(windowsFolder_ + "system32\\" + candidate);
}

// As Windows starts a program: the name as given, then with ".exe" added.
bool ExistenceCheck::probeResolved(const std::string& candidate) {
    if (probeWithSystemFolders(candidate)) return true;
    return !candidate.empty() && !hasFileExtension(candidate) && probeWithSystemFolders(candidate + ".exe");
}

bool ExistenceCheck::programExists(std::string_view commandLine) {
    std::string line = trimSpaces(commandLine);
    if (line.find('%') != std::string::npos) line = trimSpaces(platform_.expandEnvironment(line));
    if (line.empty()) return false;

    if (line.front() == '"') {
        auto close = line.find('"', 1);
        return probeResolved(trimSpaces(std::string_view(line).substr(1, close == std::string::npos ? close : close - 1)));
    }

    // Switches introduced by " /" or " -" end the program path.
    std::string unquoted;
    for (char c : line)
        if (c != '"') unquoted += c;
    if (probeWithSystemFolders(cutAt(cutAt(unquoted, " /"), " -"))) return true;

    // An unquoted path with spaces: the shortest space-delimited prefix that
    // names an existing file is the program, as Windows resolves it.
    for (auto space = line.find(' '); space != std::string::npos; space = line.find(' ', space + 1))
        if (probeResolved(line.substr(0, space))) return true;
    return probeResolved(line);
}

}  // namespace lsu
