#include <gtest/gtest.h>

#include "ui/logic/HistoryRows.h"

namespace lsu {
namespace {

JournalChange changeOf(ChangeId id, ChangeAction action, std::optional<ChangeEnd> end,
                       std::optional<ChangeId> undoes = std::nullopt) {
    return {{id, "2026-12-08T23:59:00Z", "window", action, "Registry\\Current User\\Run", "Tool", undoes},
            {},
            std::move(end)};
}

// Each change as the window's History and the tool's table show it.
TEST(HistoryRows, ShowEachChangeWithWhatCameOfIt) {
    const std::vector<JournalChange> changes = {
        changeOf(1, ChangeAction::Disable, ChangeEnd{true, "", {}}),
        changeOf(2, ChangeAction::Delete, ChangeEnd{false, "Access is denied.", {}}),
        changeOf(3, ChangeAction::Edit, std::nullopt),
        changeOf(4, ChangeAction::Undo, ChangeEnd{true, "", {}}, 1),
    };
    const std::vector<std::vector<std::string>> shown = {
        {"1", "2026-12-08T23:59:00Z", "Disable", "Tool", "Registry\\Current User\\Run", "window", "Done"},
        {"2", "2026-12-08T23:59:00Z", "Delete", "Tool", "Registry\\Current User\\Run", "window",
         "Failed: Access is denied."},
        {"3", "2026-12-08T23:59:00Z", "Edit", "Tool", "Registry\\Current User\\Run", "window", "Cut short"},
        {"4", "2026-12-08T23:59:00Z", "Undo of 1", "Tool", "Registry\\Current User\\Run", "window", "Done"},
    };
    const std::vector<HistoryRow> rows = historyRows(changes);
    ASSERT_EQ(rows.size(), shown.size());
    for (std::size_t at = 0; at < rows.size(); ++at) {
        EXPECT_EQ(rows[at].id, changes[at].header.id);
        EXPECT_EQ(std::vector<std::string>(std::begin(rows[at].cells), std::end(rows[at].cells)), shown[at]);
    }
}

}  // namespace
}  // namespace lsu
