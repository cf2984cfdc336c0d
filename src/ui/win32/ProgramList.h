#pragma once
// The program list: a list view in report mode with a check box on every
// line, over the rows of the section shown. The list holds no copy of the
// rows' texts: it asks for a cell's text whenever it draws the cell or is
// asked for it, from the window or from another program. Changes the
// program makes to the list (filling it, putting a box back) never count as
// the user's check.

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>

#include "catalog/StartupEntry.h"
#include "ui/win32/Dpi.h"

namespace lsu::win32 {

class ProgramList {
public:
    void create(HWND parent, HINSTANCE instance, int controlId);
    HWND handle() const { return list_; }

    // Replaces every line with the rows, each ticked when it is checked.
    // Drawing is held off until the last line is in.
    void show(EntryList rows);
    // Adds the rows after those shown, as a load reads them.
    void append(EntryList rows);
    const EntryList& rows() const { return rows_; }

    int selectedIndex() const;         // -1 when no line is selected
    StartupEntry* selectedEntry();     // nullptr when no line is selected
    StartupEntry* entryAt(int index);  // nullptr outside the list
    const StartupEntry* entryAt(int index) const;
    bool isChecked(int index) const;
    // Selects, shows and focuses the line of that entry; false when the list has none.
    bool selectEntry(const std::string& name, SectionId section);

    // Ticks or clears the line's box as the program, not as the user.
    void setChecked(int index, bool checked);
    // Shows the entry's state again: its box and every cell drawn from it.
    void showEntryState(int index);

    void setFont(HFONT font);
    void setColumnWidths(Dpi dpi);
    void setGridLines(bool on);

    // What a notification of the list means to the window. The list's
    // request for a cell's text is answered here and means nothing more.
    struct Event {
        enum Kind { None, UserCheck, SelectionChanged, DoubleClick, RightClick } kind = None;
        int index = -1;
    };
    Event interpret(NMHDR& header) const;

private:
    void answerTextRequest(LVITEMW& cell) const;

    HWND list_ = nullptr;
    EntryList rows_;
    bool programChanging_ = false;
};

}  // namespace lsu::win32
