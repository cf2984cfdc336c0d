#include "ui/win32/HistoryDialog.h"

#include <commctrl.h>

#include <vector>

#include "operations/journal/Undo.h"
#include "platform/win32/WideText.h"
#include "ui/logic/ChangeMessages.h"
#include "ui/logic/HistoryRows.h"
#include "ui/win32/HistoryDialogIds.h"
#include "ui/win32/MessageBoxPrompts.h"
#include "ui/win32/WindowObject.h"

namespace lsu::win32 {

namespace {

class HistoryDialog : public WindowObject {
public:
    HistoryDialog(ChangeJournal& journal, const SourcePorts& ports) : journal_(journal), ports_(ports) {}

    bool show(HWND owner) {
        showModal(GetModuleHandleW(nullptr), LSU_IDD_HISTORY, owner);
        return undid_;
    }

private:
    HWND list() const { return GetDlgItem(handle(), LSU_IDC_HISTORY_LIST); }

    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_INITDIALOG:
                addColumns();
                fill();
                return TRUE;
            case WM_NOTIFY:
                if (reinterpret_cast<NMHDR*>(lParam)->code == LVN_ITEMCHANGED) offerUndo();
                return std::nullopt;
            case WM_COMMAND:
                if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
                    EndDialog(handle(), IDCANCEL);
                    return TRUE;
                }
                if (LOWORD(wParam) == LSU_IDC_HISTORY_UNDO && HIWORD(wParam) == BN_CLICKED) {
                    undoSelected();
                    return TRUE;
                }
                return std::nullopt;
            default: return std::nullopt;
        }
    }

    void onHandlerFailed(const char*) noexcept override { EndDialog(handle(), IDCANCEL); }

    void addColumns() {
        ListView_SetExtendedListViewStyle(list(), LVS_EX_FULLROWSELECT);
        for (int column = 0; column < kHistoryColumnCount; ++column) {
            std::wstring header = widen(historyHeader(static_cast<HistoryColumn>(column)));
            LVCOLUMNW info = {};
            info.mask = LVCF_TEXT | LVCF_SUBITEM;
            info.pszText = header.data();
            info.iSubItem = column;
            ListView_InsertColumn(list(), column, &info);
        }
    }

    // The journal as it stands now, the newest change selected.
    void fill() {
        ListView_DeleteAllItems(list());
        rows_.clear();
        const auto changes = journal_.read();
        if (!changes) showMessage(handle(), messageAfterUndo(changes.error()));
        if (changes) rows_ = historyRows(*changes);
        for (std::size_t at = 0; at < rows_.size(); ++at) {
            LVITEMW item = {};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(at);
            std::wstring first = widen(rows_[at].cells[0]);
            item.pszText = first.data();
            ListView_InsertItem(list(), &item);
            for (int column = 1; column < kHistoryColumnCount; ++column) {
                std::wstring text = widen(rows_[at].cells[column]);
                ListView_SetItemText(list(), static_cast<int>(at), column, text.data());
            }
        }
        for (int column = 0; column < kHistoryColumnCount; ++column)
            ListView_SetColumnWidth(list(), column, LVSCW_AUTOSIZE_USEHEADER);
        if (!rows_.empty()) {
            const int last = static_cast<int>(rows_.size()) - 1;
            ListView_SetItemState(list(), last, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            ListView_EnsureVisible(list(), last, FALSE);
        }
        offerUndo();
    }

    int selected() const { return ListView_GetNextItem(list(), -1, LVNI_SELECTED); }

    void offerUndo() {
        const int index = selected();
        EnableWindow(GetDlgItem(handle(), LSU_IDC_HISTORY_UNDO),
                     index >= 0 && static_cast<std::size_t>(index) < rows_.size());
    }

    void undoSelected() {
        const int index = selected();
        if (index < 0 || static_cast<std::size_t>(index) >= rows_.size()) return;
        const ChangeResult undone = undoChange(journal_, ports_, rows_[static_cast<std::size_t>(index)].id);
        if (undone) undid_ = true;
        showMessage(handle(), messageAfterUndo(undone));
        fill();
    }

    ChangeJournal& journal_;
    const SourcePorts& ports_;
    std::vector<HistoryRow> rows_;
    bool undid_ = false;
};

}  // namespace

bool showHistoryDialog(HWND owner, ChangeJournal& journal, const SourcePorts& ports) {
    return HistoryDialog(journal, ports).show(owner);
}

}  // namespace lsu::win32
