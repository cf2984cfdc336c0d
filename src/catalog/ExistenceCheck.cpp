#include "catalog/ExistenceCheck.h"

#include "base/CaseFolding.h"
#include "base/Text.h"
#include "base/WindowsPaths.h"
#include "catalog/DisabledStores.h"

namespace lsu {

namespace {

std::string cutAt(std::string_view text, std::string_view marker) {
    return trimSpaces(text.substr(0, text.find(marker)));
}

// Only an executable image carries a version resource. Asking the system of
// a script or a document costs as much as asking it of a program (it opens
// and maps the file) and always answers nothing, and a Startup folder may
// hold thousands of them.
bool mayNameItsMaker(std::string_view program) {
    for (std::string_view extension : {".exe", ".dll", ".com", ".scr", ".cpl", ".ocx", ".sys", ".drv"})
        if (endsWithNoCase(program, extension)) return true;
    return false;
}

}  // namespace

ExistenceCheck::ExistenceCheck(FileSystem& files, SystemFacts& system, VersionInfo& versions)
    : files_(files),
      system_(system),
      versions_(versions),
      windowsFolder_(withTrailingBackslash(windowsFolder(system))) {}

bool ExistenceCheck::fileExists(const std::string& path) {
    auto [it, inserted] = known_.try_emplace(path, false);
    if (inserted) it->second = files_.fileExists(path);
    return it->second;
}

// A name without a drive is also looked for in the Windows folder and its
// system folders, as the loader of old start-up entries did. A name with a
// drive cannot be found there, so those probes are skipped.
std::optional<std::string> ExistenceCheck::probeWithSystemFolders(const std::string& candidate) {
    if (candidate.empty()) return std::nullopt;
    if (fileExists(candidate)) return candidate;
    if (candidate.find(':') != std::string::npos) return std::nullopt;
    for (const std::string& folder : {windowsFolder_, windowsFolder_ + "system\\", windowsFolder_ + "system32\\"})
        if (fileExists(folder + candidate)) return folder + candidate;
    return std::nullopt;
}

// As Windows starts a program: the name as given, then with ".exe" added.
std::optional<std::string> ExistenceCheck::probeResolved(const std::string& candidate) {
    if (auto found = probeWithSystemFolders(candidate)) return found;
    if (candidate.empty() || hasFileExtension(candidate)) return std::nullopt;
    return probeWithSystemFolders(candidate + ".exe");
}

std::optional<std::string> ExistenceCheck::resolveProgram(std::string_view commandLine) {
    std::string line = trimSpaces(commandLine);
    if (line.find('%') != std::string::npos) line = trimSpaces(system_.expandEnvironment(line));
    if (line.empty()) return std::nullopt;

    if (line.front() == '"') {
        auto close = line.find('"', 1);
        return probeResolved(
            trimSpaces(std::string_view(line).substr(1, close == std::string::npos ? close : close - 1)));
    }

    // Switches introduced by " /" or " -" end the program path.
    std::string unquoted;
    for (char c : line)
        if (c != '"') unquoted += c;
    if (auto found = probeWithSystemFolders(cutAt(cutAt(unquoted, " /"), " -"))) return found;

    // An unquoted path with spaces: the shortest space-delimited prefix that
    // names an existing file is the program, as Windows resolves it.
    for (auto space = line.find(' '); space != std::string::npos; space = line.find(' ', space + 1))
        if (auto found = probeResolved(line.substr(0, space))) return found;
    return probeResolved(line);
}

bool ExistenceCheck::programExists(std::string_view commandLine) { return resolveProgram(commandLine).has_value(); }

const std::string& ExistenceCheck::publisherOf(const std::string& program) {
    auto [it, inserted] = publishers_.try_emplace(program);
    if (inserted && mayNameItsMaker(program)) it->second = versions_.companyName(program);
    return it->second;
}

}  // namespace lsu
