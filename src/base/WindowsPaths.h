#pragma once
// How Windows takes paths and file names apart, and which names it lets a
// file have. Paths use backslashes; a forward slash separates as well.

#include <optional>
#include <string>
#include <string_view>

namespace lsu {

// The last component: "C:\Tools\tool.exe" -> "tool.exe".
std::string_view fileNameOf(std::string_view path);
// The folder holding the path, without a trailing backslash unless it is a
// drive's root: "C:\Tools\tool.exe" -> "C:\Tools", "C:\tool.exe" -> "C:\".
// Empty for a bare name and for a root, which has no parent.
std::string parentFolderOf(std::string_view path);
// A file name without its extension, and its extension with the dot:
// "notes.txt.lnk" -> "notes.txt" and ".lnk"; "README" -> "README" and "".
std::string_view stemOf(std::string_view fileName);
std::string_view extensionOf(std::string_view fileName);
// Whether the last component of a path has a dot in it.
bool hasFileExtension(std::string_view path);

// The path with exactly one backslash at its end.
std::string withTrailingBackslash(std::string_view path);
// The path without backslashes at its end; a drive's root keeps its own.
std::string withoutTrailingBackslash(std::string_view path);

// What keeps a name from being the name of exactly one file in a folder.
enum class FileNameFault {
    Empty,
    DotName,  // "." or "..": a folder, not a file
    ControlCharacter,
    ReservedCharacter,   // \ / : * ? " < > |
    TrailingDotOrSpace,  // Windows drops them, so the name would be another's
    DeviceName,          // CON, PRN, AUX, NUL, COM1-9, LPT1-9, with or without an extension
};
std::optional<FileNameFault> fileNameFault(std::string_view name);

// Device names the system reserves in every folder, with or without an
// extension ("NUL.txt" opens the null device too).
bool isReservedDeviceName(std::string_view name);

}  // namespace lsu
