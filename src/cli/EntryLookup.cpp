#include "cli/EntryLookup.h"

#include <algorithm>
#include <iterator>

#include "base/CaseFolding.h"

namespace lsu::cli {

namespace {

bool passes(const StartupEntry& row, const EntryFilter& filter) {
    if (filter.enabled && row.enabled != *filter.enabled) return false;
    return !filter.view || row.view == RegistryView::Shared || row.view == *filter.view;
}

std::string describeRow(const StartupEntry& row) {
    std::string text = (row.enabled ? "enabled in " : "disabled in ") + std::string(section(row.section).key);
    if (row.view == RegistryView::Bits32) text += " (32-bit view)";
    if (row.view == RegistryView::Bits64) text += " (64-bit view)";
    return text;
}

template <typename Field>
bool rowsDiffer(const std::vector<const StartupEntry*>& found, Field field) {
    return std::any_of(found.begin(), found.end(),
                       [&](const StartupEntry* row) { return field(*row) != field(*found.front()); });
}

}  // namespace

std::vector<const StartupEntry*> entriesNamed(const EntryList& rows, std::string_view name, const EntryFilter& filter) {
    std::vector<const StartupEntry*> found;
    for (const StartupEntry& row : rows)
        if (equalsNoCase(row.name, name) && passes(row, filter)) found.push_back(&row);
    if (!found.empty()) return found;
    // A service may be named as people read it, when that names one service.
    for (const StartupEntry& row : rows)
        if (row.type == EntryType::Service && equalsNoCase(row.displayName, name) && passes(row, filter))
            found.push_back(&row);
    return found;
}

const StartupEntry* rowFinishingMove(const std::vector<const StartupEntry*>& found, bool enabling) {
    if (found.size() != 2) return nullptr;
    const StartupEntry& a = *found[0];
    const StartupEntry& b = *found[1];
    if (!a.hasTwin || !b.hasTwin || a.enabled == b.enabled || a.section != b.section || a.view != b.view)
        return nullptr;
    return a.enabled != enabling ? &a : &b;
}

std::string ambiguityOf(const std::vector<const StartupEntry*>& found, std::string_view name,
                        std::string_view sectionKey) {
    std::string text = std::to_string(found.size()) + " entries are named \"" + std::string(name) + "\" in " +
                       std::string(sectionKey) + ":";
    for (const StartupEntry* row : found) text += (row == found.front() ? " " : ", ") + describeRow(*row);
    if (rowFinishingMove(found, true)) text += ", the same entry in both places (a move of it was cut short)";
    std::vector<std::string> ways;
    if (rowsDiffer(found, [](const StartupEntry& row) { return row.enabled; })) ways.emplace_back("--live or --parked");
    // A key both views share stands in either: only the machine's views tell rows apart.
    std::vector<const StartupEntry*> machine;
    std::copy_if(found.begin(), found.end(), std::back_inserter(machine),
                 [](const StartupEntry* row) { return row->view != RegistryView::Shared; });
    if (!machine.empty() && rowsDiffer(machine, [](const StartupEntry& row) { return row.view; }))
        ways.emplace_back("--view 32 or --view 64");
    if (rowsDiffer(found, [](const StartupEntry& row) { return row.section; }))
        ways.emplace_back("a leaf section that holds only one of them");
    for (std::size_t i = 0; i < ways.size(); ++i) text += (i == 0 ? "; choose one with " : ", or ") + ways[i];
    return text;
}

}  // namespace lsu::cli
