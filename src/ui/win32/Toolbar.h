#pragma once
// The toolbar: Refresh, Add, Delete, Run, Properties and the Folders switch,
// each caption below its image.

#include <windows.h>
#include <commctrl.h>

namespace lsu::win32 {

HWND createToolbar(HWND parent, HINSTANCE instance, HIMAGELIST images);
void setToolbarImages(HWND toolbar, HIMAGELIST images);
void setFoldersButton(HWND toolbar, bool pressed);
bool foldersButtonPressed(HWND toolbar);
// The tooltip text of a button, or nullptr for one without.
const wchar_t* toolbarTooltip(UINT_PTR command);

}  // namespace lsu::win32
