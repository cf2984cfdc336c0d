#pragma once
// The window's commands, shared by the menus, their accelerators and the
// toolbar, each with the handler that carries it out.

namespace lsu::win32 {

enum Command : int {
    kCommandExit = 100,
    kCommandEnable,
    kCommandDisable,
    kCommandAdd,
    kCommandDelete,
    kCommandRun,
    kCommandProperties,
    kCommandFolders,
    kCommandGrid,
    kCommandRefresh,
    kCommandAbout,
    kCommandHideWindowsServices,
};

}  // namespace lsu::win32
