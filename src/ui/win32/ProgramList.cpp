#include "ui/win32/ProgramList.h"

#include <commctrl.h>

#include <string>

#include "platform/win32/WideText.h"

namespace lsu::win32 {

namespace {

// Sets a flag for as long as it lives, and puts it back however the fill ends.
class FlagHolder {
public:
    explicit FlagHolder(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
    ~FlagHolder() { flag_ = before_; }
    FlagHolder(const FlagHolder&) = delete;
    FlagHolder& operator=(const FlagHolder&) = delete;

private:
    bool& flag_;
    bool before_;
};

}  // namespace

void fillProgramList(HWND list, const EntryList& rows, bool& programChanging) {
    FlagHolder changing(programChanging);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageW(list, LVM_SETITEMCOUNT, rows.size(), 0);
    const int columns = static_cast<int>(entryColumns().size());
    std::wstring wide;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        wide = widen(cellText(rows[i], 0));
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = wide.data();
        const auto row = SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        if (row < 0) continue;
        for (int column = 1; column < columns; ++column) {
            wide = widen(cellText(rows[i], column));
            LVITEMW cell = {};
            cell.iSubItem = column;
            cell.pszText = wide.data();
            SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
        }
        // The list view gives a new line its empty box only once the line is
        // in, so the tick comes after the insert.
        ListView_SetCheckState(list, static_cast<int>(row), rows[i].Checked);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

}  // namespace lsu::win32
