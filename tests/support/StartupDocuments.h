#pragma once
// The documents that declare packaged apps' startup tasks and scheduled
// tasks, laid out as Windows writes them from their published schemas, and
// the places Windows keeps a package's registration and a startup task's
// switch.

#include <cstdint>
#include <string>

#include "platform/Ports.h"

namespace lsu::test {

// A startup task extension in the uap5 namespace (Windows 10 1709 on) or
// the desktop one (the Desktop Bridge's).
enum class TaskNamespace { Uap5, Desktop };

std::string startupTaskExtension(TaskNamespace ns, const std::string& taskId, const std::string& executable,
                                 bool enabled, const std::string& displayName);
// A package manifest of the package named, its one application declaring
// the extensions given.
std::string packageManifest(const std::string& packageName, const std::string& extensions);

// Registers the package of the full name for the current user, its folder
// holding the manifest; returns the folder.
std::string seedPackage(const ScanPorts& platform, const std::string& root, const std::string& fullName,
                        const std::string& manifest);
// The key Windows keeps the task's State in.
RegistryLocation appTaskStateKey(const std::string& familyName, const std::string& taskId);

// A task definition with the triggers and actions given, UTF-16 as the
// scheduler stores it, less its byte order mark and encoding.
std::string taskDefinition(const std::string& triggers, const std::string& actions, bool enabled = true,
                           bool hidden = false);
inline constexpr const char* kLogonTrigger = "<LogonTrigger><Enabled>true</Enabled></LogonTrigger>";
inline constexpr const char* kBootTrigger = "<BootTrigger><Delay>PT30S</Delay></BootTrigger>";
inline constexpr const char* kTimeTrigger =
    "<TimeTrigger><StartBoundary>2024-01-01T03:00:00</StartBoundary></TimeTrigger>";
inline constexpr const char* kEventTrigger =
    "<EventTrigger><Subscription>&lt;QueryList&gt;&lt;Query Id=\"0\"&gt;&lt;Select Path=\"System\"&gt;*&lt;/"
    "Select&gt;&lt;/Query&gt;&lt;/QueryList&gt;</Subscription></EventTrigger>";
std::string execAction(const std::string& command, const std::string& arguments = "");

}  // namespace lsu::test
