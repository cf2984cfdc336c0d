#pragma once
// Administrator rights: whether the program runs with them, and starting it
// again with them through the system's elevation prompt.

#include <windows.h>

#include <string>

#include "ui/win32/GdiObjects.h"

namespace lsu::win32 {

// Whether the process's token is elevated.
bool runsElevated();

// Starts the program again as administrator, showing the section of this key;
// false when it did not start (the user declined the prompt, or the system
// refused).
bool restartAsAdministrator(HWND owner, const std::string& sectionKey);

// The system's shield, which marks a command that asks for administrator
// rights, as a bitmap for a menu item; empty when the system has none.
BitmapHandle shieldMenuBitmap();

}  // namespace lsu::win32
