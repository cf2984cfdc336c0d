#include "cli/RunCli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>

#include "catalog/Sections.h"
#include "cli/DiffFormats.h"
#include "cli/EntryFormats.h"
#include "cli/EntryLookup.h"
#include "cli/ExitCodes.h"
#include "cli/HistoryFormats.h"
#include "cli/ScriptPrompts.h"
#include "cli/SnapshotFiles.h"
#include "cli/VersionLine.h"
#include "operations/Operations.h"
#include "operations/journal/Undo.h"
#include "scanners/SectionLoading.h"
#include "ui/logic/ChangeMessages.h"

namespace lsu::cli {

namespace {

// The window's confirmation before a delete.
constexpr const char* kDeleteQuestion =
    "Are you sure to delete the selected item?\r\n\r\nThis action can not be undone.";

constexpr const char* kChoosingHelp =
    "A name that stands both where Windows starts it and among the disabled entries, or in both views of a\n"
    "machine key, names one entry with --live or --parked, or with --view 32 or --view 64. Where a move was cut\n"
    "short and left the same entry in both places, enable and disable finish it; delete removes the one chosen.\n\n";

constexpr std::array<std::string_view, 9> kCommands = {"list",    "enable", "disable",  "delete", "add",
                                                       "history", "undo",   "snapshot", "diff"};

struct Request {
    std::string sectionKey = std::string(section(SectionId::AllPrograms).key);
    std::string name;
    std::string commandLine;
    std::string format = "table";
    bool wide = false;
    bool hideWindows = false;
    bool yes = false;
    bool live = false;
    bool parked = false;
    std::string view;
    std::optional<ChangeId> change;
    std::string file;
    std::string laterFile;

    EntryFilter filter() const {
        EntryFilter chosen;
        if (live || parked) chosen.enabled = live;
        if (!view.empty()) chosen.view = view == "32" ? RegistryView::Bits32 : RegistryView::Bits64;
        return chosen;
    }
};

// What a command does to the entry it names.
enum class Change { Enable, Disable, Delete };

class Run {
public:
    Run(const ScanPorts& ports, const std::string& tool, std::ostream& out, std::ostream& err, int terminalWidth)
        : ports_(ports),
          journal_(ports.files, ports.system, tool),
          out_(out),
          err_(err),
          terminalWidth_(terminalWidth) {}

    int list(const Request& request) {
        const auto id = findSectionIgnoringCase(request.sectionKey);
        if (!id) return unknownSection(request.sectionKey);
        EntryList rows = loadSection(ports_, *id).rows;
        if (request.hideWindows) removeWindowsServices(rows);
        if (request.format == "csv") out_ << formatCsv(rows);
        else if (request.format == "json") out_ << formatJson(rows);
        else out_ << formatTable(rows, request.wide ? kWholeCells : terminalWidth_);
        return kExitOk;
    }

    int enableOrDisable(const Request& request, bool enable) {
        StartupEntry row;
        if (const int found = findOne(request, enable ? Change::Enable : Change::Disable, row); found != kExitOk)
            return found;
        const std::string where = "\"" + row.name + "\" in " + std::string(section(row.section).key);
        if (auto locked = readOnlyRefusal(row)) return refusal(row, *locked);
        if (startsWithWindows(row) == enable) {
            // Moving an entry onto itself would delete a parked twin of the same name.
            out_ << where << " is already " << (enable ? "enabled" : "disabled")
                 << (row.enabled && row.switchedOff ? " by Windows' own startup switch" : "") << ".\n";
            return kExitOk;
        }
        ScriptPrompts prompts(request.yes);
        row.checked = enable;
        const StartupEntry asked = row;
        const ChangeResult changed =
            recorded(enable ? ChangeAction::Enable : ChangeAction::Disable, row,
                     [&](const SourcePorts& ports) { return applyCheckState(ports, prompts, row); });
        return finish(changed, messageAfterCheckChange(asked, changed), (enable ? "Enabled " : "Disabled ") + where);
    }

    int remove(const Request& request) {
        StartupEntry row;
        if (const int found = findOne(request, Change::Delete, row); found != kExitOk) return found;
        if (auto kept = keptRefusal(row)) return refusal(row, *kept);
        if (!request.yes) return refused(kDeleteQuestion);
        const ChangeResult deleted =
            recorded(ChangeAction::Delete, row, [&](const SourcePorts& ports) { return deleteEntry(ports, row); });
        return finish(deleted, messageAfterDelete(deleted),
                      "Deleted \"" + row.name + "\" from " + std::string(section(row.section).key));
    }

    int add(const Request& request) {
        const auto id = findSectionIgnoringCase(request.sectionKey);
        if (!id) return unknownSection(request.sectionKey);
        if (section(*id).keptBy)
            return error(kExitNotOffered, "entries are not added to section \"" + request.sectionKey +
                                              "\": what others keep is only switched off and on here");
        const std::vector<SectionId> addable = sectionsOffered(true);
        if (std::find(addable.begin(), addable.end(), *id) == addable.end())
            return error(kExitUnknownSection, "entries cannot be added to section \"" + request.sectionKey +
                                                  "\"; use a Startup Folder or Registry leaf section");
        if (request.name.empty() || request.commandLine.empty())
            return error(kExitUsage, "the name and the command line must not be empty");
        // What already stands where the entry goes is replaced only on the
        // user's word: the operation asks, and without --yes the answer is No.
        ScriptPrompts prompts(request.yes);
        const EntryForm form{request.name, request.commandLine, *id};
        const ChangeResult added =
            recordChange(journal_, ports_, changeTitle(ChangeAction::Add, *id, form.name),
                         [&](const SourcePorts& ports) { return addEntry(ports, prompts, form); });
        return finish(added, messageAfterAdd(form, added),
                      "Added \"" + request.name + "\" to " + std::string(section(*id).key));
    }

    int history(const Request& request) {
        const auto changes = journal_.read();
        if (!changes) return error(exitCodeFor(changes.error().kind), changes.error().message);
        if (request.format == "csv") out_ << historyCsv(*changes);
        else if (request.format == "json") out_ << historyJson(*changes);
        else out_ << historyTable(*changes);
        return kExitOk;
    }

    int undo(const Request& request) {
        const ChangeResult undone = undoChange(journal_, ports_, request.change);
        if (!undone) {
            const Error& why = undone.error();
            if (why.kind == ErrorKind::NeedsAdministrator)
                return error(kExitNeedsAdministrator, kNeedsAdministratorLine);
            const bool refused = why.kind == ErrorKind::ChangedSince || why.kind == ErrorKind::NotOffered;
            return error(why.kind == ErrorKind::NotFound ? kExitEntryNotFound
                         : refused                       ? kExitUndoRefused
                                                         : exitCodeFor(why.kind),
                         why.message);
        }
        if (undone->warning)
            err_ << "lstartup-cli: " << oneLine(withReason(kNotMarkedInJournalPrompt, undone->warning->cause)) << '\n';
        const auto changes = journal_.read();
        if (changes && !changes->empty() && changes->back().header.undoes) {
            const ChangeHeader& made = changes->back().header;
            out_ << "Undid change " << *made.undoes << " (\"" << made.entry << "\" in " << made.section
                 << ") as change " << made.id << ".\n";
        }
        return kExitOk;
    }

    int saveSnapshot(const Request& request) {
        if (Status saved = cli::saveSnapshot(request.file, currentSnapshot()); !saved)
            return error(kExitOperationFailed, saved.error().message);
        return kExitOk;
    }

    // What was added since is a change a scheduled script is to hear of.
    int diff(const Request& request) {
        const auto earlier = loadSnapshot(request.file);
        if (!earlier) return error(kExitOperationFailed, earlier.error().message);
        auto later =
            request.laterFile.empty() ? Result<InventorySnapshot>(currentSnapshot()) : loadSnapshot(request.laterFile);
        if (!later) return error(kExitOperationFailed, later.error().message);
        const auto differences = differencesBetween(*earlier, *later);
        if (request.format == "csv") out_ << diffCsv(differences);
        else if (request.format == "json") out_ << diffJson(differences);
        else out_ << diffTable(differences);
        const bool added = std::any_of(differences.begin(), differences.end(),
                                       [](const SnapshotDifference& found) { return found.kind == Difference::Added; });
        return added ? kExitSomethingAdded : kExitOk;
    }

    int error(int code, const std::string& message) {
        err_ << "lstartup-cli: error: " << oneLine(message) << '\n';
        return code;
    }

private:
    int unknownSection(const std::string& key) {
        return error(kExitUnknownSection, "unknown section \"" + key + "\" (see lstartup-cli list --help)");
    }

    // Ambiguity and absence are settled before anything is touched. The two
    // rows a move cut short left are one entry to enable or disable: the
    // change finishes the move.
    int findOne(const Request& request, Change change, StartupEntry& row) {
        const auto id = findSectionIgnoringCase(request.sectionKey);
        if (!id) return unknownSection(request.sectionKey);
        const std::string key(section(*id).key);
        const EntryList rows = loadSection(ports_, *id).rows;
        const auto found = entriesNamed(rows, request.name, request.filter());
        if (found.empty())
            return error(kExitEntryNotFound, "no entry named \"" + request.name + "\" in " + key +
                                                 (request.live || request.parked || !request.view.empty()
                                                      ? " of the state and view asked for"
                                                      : ""));
        const StartupEntry* chosen = found.size() == 1 ? found.front() : nullptr;
        if (!chosen && change != Change::Delete) chosen = rowFinishingMove(found, change == Change::Enable);
        if (!chosen) return error(kExitAmbiguousName, ambiguityOf(found, request.name, key));
        row = *chosen;
        return kExitOk;
    }

    InventorySnapshot currentSnapshot() { return snapshotOf(loadSection(ports_, SectionId::AllPrograms).rows); }

    ChangeResult recorded(ChangeAction action, const StartupEntry& row,
                          const std::function<ChangeResult(const SourcePorts&)>& change) {
        return recordChange(journal_, ports_, changeTitle(action, row.section, row.name), change);
    }

    int refusal(const StartupEntry& row, const Error& refused) {
        return error(exitCodeFor(refused.kind), "\"" + row.name + "\": " + refused.message);
    }

    int refused(const std::string& question) {
        return error(kExitRefused, "refused: " + question + " Give --yes to answer Yes.");
    }

    // What the window would have shown goes to stderr as one line; the exit
    // code says why a change failed.
    int finish(const ChangeResult& result, const std::optional<UserMessage>& message, const std::string& success) {
        if (!result && result.error().kind == ErrorKind::DeclinedByUser) return refused(result.error().message);
        if (!result && result.error().kind == ErrorKind::NeedsAdministrator)
            return error(kExitNeedsAdministrator, kNeedsAdministratorLine);
        if (message) err_ << "lstartup-cli: " << oneLine(message->title) << ": " << oneLine(message->text) << '\n';
        if (!result) return exitCodeFor(result.error().kind);
        out_ << success << ".\n";
        return kExitOk;
    }

    ScanPorts ports_;
    ChangeJournal journal_;
    std::ostream& out_;
    std::ostream& err_;
    int terminalWidth_;
};

void addSectionArgument(CLI::App& command, Request& request, bool required, const std::string& what) {
    CLI::Option* option = command.add_option("SECTION", request.sectionKey, what);
    if (required) option->required();
}

std::string sectionList() {
    std::string text = "Sections:\n";
    for (SectionId id : sectionTree()) text += "  " + std::string(section(id).key) + "\n";
    return text;
}

}  // namespace

int runCli(const ScanPorts& ports, const std::string& tool, const std::vector<std::string>& args, std::ostream& out,
           std::ostream& err, int terminalWidth) {
    Run run(ports, tool, out, err, terminalWidth);
    if (!args.empty() && !args.front().starts_with('-') &&
        std::find(kCommands.begin(), kCommands.end(), args.front()) == kCommands.end())
        return run.error(
            kExitUsage,
            "unknown command \"" + args.front() +
                "\" (commands: list, enable, disable, delete, add, history, undo, snapshot, diff; see --help)");

    CLI::App app("Lists and changes the programs Windows starts by itself.", "lstartup-cli");
    app.require_subcommand(1);
    app.footer(std::string("\n") + kExitCodeHelp);
    const std::string_view version = kVersionLine;
    app.set_version_flag("--version", std::string(version.substr(0, version.size() - 1)), "Print the version and exit");
    Request request;

    CLI::App* list = app.add_subcommand("list", "List the entries of a section in the window's order");
    addSectionArgument(*list, request, false, "Section key (default \"All Programs\")");
    list->add_option("--format", request.format, "Output format: table (default), csv or json")
        ->check(CLI::IsMember({"table", "csv", "json"}));
    list->add_flag("--wide", request.wide, "Print every column and every cell of the table whole in a terminal too");
    list->add_flag("--hide-windows", request.hideWindows, "Leave out Windows' own services");
    list->footer("\n" + sectionList());

    std::array<CLI::App*, 3> changes = {
        app.add_subcommand("enable", "Move a disabled entry back to where Windows starts it"),
        app.add_subcommand("disable", "Park an entry where Windows does not start it, without losing it"),
        app.add_subcommand("delete", "Remove an entry for good (asks; needs --yes)")};
    for (CLI::App* command : changes) {
        addSectionArgument(*command, request, true, "Section key, e.g. \"Registry\\Current User\\Run\"");
        command->add_option("NAME", request.name, "Entry name as listed (case ignored)")->required();
        CLI::Option* live =
            command->add_flag("--live", request.live, "Only the entry of that name where Windows starts it");
        command->add_flag("--parked", request.parked, "Only the entry of that name parked among the disabled ones")
            ->excludes(live);
        command->add_option("--view", request.view, "Only the entry of that name in this view of a machine key")
            ->check(CLI::IsMember({"32", "64"}));
    }
    CLI::App* add = app.add_subcommand("add", "Add a registry value or a Startup-folder shortcut");
    addSectionArgument(*add, request, true, "A Startup Folder or Registry leaf section");
    add->add_option("NAME", request.name, "Entry name")->required();
    add->add_option("COMMANDLINE", request.commandLine, "Command line to start")->required();
    for (CLI::App* command : {changes[0], changes[1], changes[2], add}) {
        command->add_flag("-y,--yes", request.yes, "Answer Yes to the question the window would ask");
        command->footer(std::string("\n") + (command == add ? "" : kChoosingHelp) + kExitCodeHelp);
    }

    CLI::App* history = app.add_subcommand("history", "List every change made, oldest first, from the journal");
    history->add_option("--format", request.format, "Output format: table (default), csv or json")
        ->check(CLI::IsMember({"table", "csv", "json"}));
    CLI::App* undo = app.add_subcommand("undo", "Put back what a change replaced, if nothing changed it since");
    undo->add_option("ID", request.change, "The number of the change, as history lists it (default: the last one)")
        ->check(CLI::PositiveNumber);
    CLI::App* snapshot = app.add_subcommand("snapshot", "Keep what Windows starts now in a file, to compare later");
    snapshot->require_subcommand(1);
    CLI::App* save = snapshot->add_subcommand("save", "Write the snapshot of every section to FILE");
    save->add_option("FILE", request.file, "The file to write (replaced)")->required();
    CLI::App* diff = app.add_subcommand(
        "diff", "List what was added, removed, changed or switched since the snapshot in FILE (exit 16: added)");
    diff->add_option("FILE", request.file, "A snapshot saved earlier")->required();
    diff->add_option("LATER", request.laterFile, "A snapshot saved later (default: what Windows starts now)");
    diff->add_option("--format", request.format, "Output format: table (default), csv or json")
        ->check(CLI::IsMember({"table", "csv", "json"}));
    for (CLI::App* command : {history, undo, save, diff}) command->footer(std::string("\n") + kExitCodeHelp);

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help, out, err);
    } catch (const CLI::CallForAllHelp& help) {
        return app.exit(help, out, err);
    } catch (const CLI::CallForVersion& version) {
        return app.exit(version, out, err);
    } catch (const CLI::ParseError& failure) {
        return run.error(kExitUsage, std::string(failure.what()) + " (see --help)");
    }

    if (list->parsed()) return run.list(request);
    if (changes[0]->parsed()) return run.enableOrDisable(request, true);
    if (changes[1]->parsed()) return run.enableOrDisable(request, false);
    if (changes[2]->parsed()) return run.remove(request);
    if (history->parsed()) return run.history(request);
    if (undo->parsed()) return run.undo(request);
    if (save->parsed()) return run.saveSnapshot(request);
    if (diff->parsed()) return run.diff(request);
    return run.add(request);
}

}  // namespace lsu::cli
