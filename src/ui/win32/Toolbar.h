#pragma once
// The toolbar, built from the command table: each button's caption below
// its image, a switch for a command that switches, and the tooltips.

#include <windows.h>
#include <commctrl.h>

#include "ui/logic/CommandTable.h"

namespace lsu::win32 {

HWND createToolbar(HWND parent, HINSTANCE instance, HIMAGELIST images);
void setToolbarImages(HWND toolbar, HIMAGELIST images);
void setButtonChecked(HWND toolbar, Command command, bool checked);
// Gives the toolbar's tooltip that asks for its text the text of its
// button, if any; false for a request from another tooltip.
bool answerTooltip(HWND toolbar, NMTTDISPINFOW& request);

}  // namespace lsu::win32
