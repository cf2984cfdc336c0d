#include "ui/win32/ProgramList.h"

#include <commctrl.h>

#include <iterator>
#include <utility>

#include "platform/win32/WideText.h"
#include "ui/logic/ListColumns.h"

namespace lsu::win32 {

namespace {

// Sets a flag for as long as it lives, and puts it back however the change ends.
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

void ProgramList::create(HWND parent, HINSTANCE instance, int controlId) {
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr,
                            WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance, nullptr);
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    int index = 0;
    for (const auto& column : entryColumns()) {
        std::wstring text = widen(column.header);
        LVCOLUMNW definition = {};
        definition.mask = LVCF_TEXT | LVCF_SUBITEM;
        definition.pszText = text.data();
        definition.iSubItem = index;
        SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&definition));
    }
    // The headers name the columns; they are not buttons and sort nothing.
    HWND header = ListView_GetHeader(list_);
    SetWindowLongPtrW(header, GWL_STYLE, GetWindowLongPtrW(header, GWL_STYLE) & ~LONG_PTR{HDS_BUTTONS});
}

void ProgramList::setColumnWidths(Dpi dpi) {
    int index = 0;
    for (const auto& column : entryColumns())
        SendMessageW(list_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index++),
                     dpi.toPixels(columnWidthTwips(column.column)));
}

void ProgramList::setFont(HFONT font) { SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

void ProgramList::setGridLines(bool on) {
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, on ? LVS_EX_GRIDLINES : 0);
}

// Every cell of a line, its name as well, is asked for when it is needed.
void ProgramList::show(EntryList rows) {
    FlagHolder changing(programChanging_);
    SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    rows_.clear();
    append(std::move(rows));
}

void ProgramList::append(EntryList rows) {
    FlagHolder changing(programChanging_);
    const std::size_t first = rows_.size();
    rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LVM_SETITEMCOUNT, rows_.size(), 0);
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.pszText = LPSTR_TEXTCALLBACKW;
    for (std::size_t i = first; i < rows_.size(); ++i) {
        item.iItem = static_cast<int>(i);
        const auto index = static_cast<int>(SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        // The list view gives a new line its empty box only once the line is
        // in, so the tick comes after the insert.
        if (index >= 0) ListView_SetCheckState(list_, index, rows_[i].checked);
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

// The text goes into the buffer the request names, cut to fit: the list
// copies it from there for whoever asked, in this process or another.
void ProgramList::answerTextRequest(LVITEMW& cell) const {
    if (!(cell.mask & LVIF_TEXT) || !cell.pszText || cell.cchTextMax <= 0) return;
    const StartupEntry* entry = entryAt(cell.iItem);
    const auto& columns = entryColumns();
    const bool known = entry && cell.iSubItem >= 0 && cell.iSubItem < static_cast<int>(columns.size());
    const std::wstring text =
        known ? widen(cellText(*entry, columns[static_cast<std::size_t>(cell.iSubItem)].column)) : std::wstring();
    lstrcpynW(cell.pszText, text.c_str(), cell.cchTextMax);
}

int ProgramList::selectedIndex() const {
    return static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

StartupEntry* ProgramList::entryAt(int index) { return const_cast<StartupEntry*>(std::as_const(*this).entryAt(index)); }

const StartupEntry* ProgramList::entryAt(int index) const {
    if (index < 0 || index >= static_cast<int>(rows_.size())) return nullptr;
    return &rows_[static_cast<std::size_t>(index)];
}

StartupEntry* ProgramList::selectedEntry() { return entryAt(selectedIndex()); }

bool ProgramList::isChecked(int index) const { return ListView_GetCheckState(list_, index) != FALSE; }

bool ProgramList::selectEntry(const std::string& name, SectionId section) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].name != name || rows_[i].section != section) continue;
        const int index = static_cast<int>(i);
        ListView_SetItemState(list_, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list_, index, FALSE);
        SetFocus(list_);
        return true;
    }
    return false;
}

void ProgramList::setChecked(int index, bool checked) {
    FlagHolder changing(programChanging_);
    ListView_SetCheckState(list_, index, checked);
}

void ProgramList::showEntryState(int index) {
    const StartupEntry* entry = entryAt(index);
    if (!entry) return;
    setChecked(index, entry->checked);
    ListView_RedrawItems(list_, index, index);
}

ProgramList::Event ProgramList::interpret(NMHDR& header) const {
    switch (header.code) {
        case LVN_GETDISPINFOW: answerTextRequest(reinterpret_cast<NMLVDISPINFOW&>(header).item); return {};
        case LVN_ITEMCHANGED: {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            const bool checkChange = (change.uChanged & LVIF_STATE) &&
                                     ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK) &&
                                     (change.uOldState & LVIS_STATEIMAGEMASK) != 0;
            if (checkChange && !programChanging_) return {Event::UserCheck, change.iItem};
            const bool selectionChange =
                (change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_SELECTED);
            if (selectionChange) return {Event::SelectionChanged, change.iItem};
            return {};
        }
        case NM_DBLCLK: {
            // A double click on a check box is two clicks on the box, not a
            // request for the entry's properties.
            LVHITTESTINFO hit = {};
            hit.pt = reinterpret_cast<const NMITEMACTIVATE&>(header).ptAction;
            SendMessageW(list_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.iItem >= 0 && (hit.flags & LVHT_ONITEMSTATEICON)) return {};
            return {Event::DoubleClick, hit.iItem};
        }
        case NM_RCLICK: return {Event::RightClick, reinterpret_cast<const NMITEMACTIVATE&>(header).iItem};
        default: return {};
    }
}

}  // namespace lsu::win32
