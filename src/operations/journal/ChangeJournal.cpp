#include "operations/journal/ChangeJournal.h"

#include <chrono>
#include <cstdio>
#include <set>

#include "base/WindowsPaths.h"

namespace lsu {

namespace {

constexpr const char* kUserDataFolder = "LStartUp";
constexpr const char* kJournalName = "journal.jsonl";

Error notWritten(const std::string& path, const Error& cause) {
    return {ErrorKind::NotJournaled, cause.code, "The journal at " + path + " could not be written. " + cause.message};
}

// The journal's lines without those of the oldest changes, as few of them
// as leave it within the cap; the lines of the changes kept stand as they
// were.
std::string withinCap(const std::string& text, std::size_t room) {
    std::vector<std::pair<std::string_view, std::optional<ChangeId>>> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size() - 1) + 1;
        const std::string_view line(text.data() + at, end - at);
        lines.emplace_back(line, changeOfLine(line.substr(0, line.size() - 1)));
        at = end;
    }
    std::set<ChangeId> dropped;
    std::size_t size = text.size();
    for (const auto& [line, change] : lines) {
        if (size <= room) break;
        if (change) dropped.insert(*change);
        size -= line.size();
    }
    std::string kept;
    for (const auto& [line, change] : lines)
        if (change && !dropped.count(*change)) kept += line;
    return kept;
}

}  // namespace

std::string utcNow() {
    using namespace std::chrono;
    const auto now = floor<seconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day date{day};
    const hh_mm_ss time{now - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

ChangeJournal::ChangeJournal(FileSystem& files, SystemFacts& system, std::string tool,
                             std::function<std::string()> clock, std::size_t cap)
    : files_(files), system_(system), tool_(std::move(tool)), clock_(std::move(clock)), cap_(cap) {}

std::string userDataPath(SystemFacts& system, std::string_view name) {
    const std::string appData = system.shellFolder(ShellFolder::LocalAppData);
    if (appData.empty()) return {};
    return withTrailingBackslash(appData) + kUserDataFolder + "\\" + std::string(name);
}

std::string ChangeJournal::path() const { return userDataPath(system_, kJournalName); }

Result<std::string> ChangeJournal::readText() const {
    const std::string where = path();
    if (where.empty())
        return Error{ErrorKind::NotJournaled, 0,
                     "The system names no local application data folder to keep the journal of changes in."};
    auto bytes = files_.readFile(where);
    if (!bytes && bytes.error().kind == ErrorKind::NotFound) return std::string();
    if (!bytes)
        return Error{ErrorKind::NotJournaled, bytes.error().code,
                     "The journal at " + where + " could not be read. " + bytes.error().message};
    return std::string(bytes->begin(), bytes->end());
}

Result<std::vector<JournalChange>> ChangeJournal::read() const {
    auto text = readText();
    if (!text) return text.error();
    return readJournalText(*text);
}

Result<ChangeId> ChangeJournal::nextId() const {
    auto text = readText();
    if (!text) return text.error();
    ChangeId last = 0;
    for (std::size_t at = 0; at < text->size();) {
        const std::size_t end = std::min(text->find('\n', at), text->size());
        if (auto id = changeOfLine(std::string_view(*text).substr(at, end - at))) last = std::max(last, *id);
        at = end + 1;
    }
    return last + 1;
}

Status ChangeJournal::append(const std::string& lines) {
    const std::string where = path();
    auto text = readText();
    if (!text) return text.error();
    // A line a write cut short ends where the new ones begin.
    if (!text->empty() && text->back() != '\n') *text += '\n';
    std::string whole = *text + lines;
    if (whole.size() > cap_) whole = withinCap(*text, cap_ - std::min(cap_, lines.size())) + lines;
    const std::string folder(parentFolderOf(where));
    if (Status made = files_.ensureFolder(folder); !made) return notWritten(where, made.error());
    // Named as the journal's own, so that the system's folder listings, which
    // pass over this program's unfinished files, find it to rename.
    const std::string interim = where + ".new";
    const Bytes bytes(whole.begin(), whole.end());
    Status written = files_.writeFile(interim, bytes);
    if (written) {
        auto back = files_.readFile(interim);
        if (!back || *back != bytes)
            written = Error{ErrorKind::ReadBackMismatch, 0, "What was written did not read back the same."};
    }
    if (written) written = files_.moveFile(interim, where, true);
    if (written) return {};
    if (files_.fileExists(interim)) (void)files_.deleteFile(interim);
    return notWritten(where, written.error());
}

}  // namespace lsu
