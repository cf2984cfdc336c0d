// The scheduled tasks of a Windows that is not running, as its task
// scheduler registered them: the SOFTWARE hive's task cache names each task
// by its path (a key below Tree holding the task's Id, under which Tasks
// keeps the same Path), and the definition the scheduler runs is the file of
// that path below System32\Tasks, UTF-16 XML.
//
// They are read, never switched: a task's switch lives in its definition
// and again in the task cache, beside a hash of the definition, in records
// whose layout is not published. A guess that does not match makes Windows
// refuse the task as tampered with.

#include "base/CaseFolding.h"
#include "base/WindowsPaths.h"
#include "platform/RegistryStrings.h"
#include "platform/formats/TaskDefinition.h"
#include "platform/formats/XmlDocument.h"
#include "platform/formats/XmlEncoding.h"
#include "platform/offline/OfflinePlatform.h"

namespace lsu::offline {

namespace {

constexpr const char* kTaskCache = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Schedule\\TaskCache";
// Folders nest as deep as paths allow; a deeper tree than this is no
// scheduler's own.
constexpr int kDeepestFolder = 64;

RegistryLocation cacheKey(const std::string& below) {
    return {Hive::LocalMachine, RegistryView::Bits64, std::string(kTaskCache) + "\\" + below};
}

}  // namespace

std::optional<std::string> OfflinePlatform::storedText(const RegistryLocation& key, const std::string& name) {
    auto value = readValue(key, name);
    if (!value || value->type != kRegSz) return std::nullopt;
    return textOfStoredString(value->data);
}

// A key of the tree that holds an Id is a task; any other is a folder.
std::optional<RegisteredTask> OfflinePlatform::taskOf(const std::string& treeKey, const std::string& taskPath) {
    const auto id = storedText(cacheKey(treeKey), "Id");
    if (!id || id->empty() || id->find('\\') != std::string::npos) return std::nullopt;
    const auto path = storedText(cacheKey("Tasks\\" + *id), "Path");
    if (!path || !equalsNoCase(*path, taskPath)) return std::nullopt;
    auto bytes = readFileUpTo(windowsFolder_ + "\\System32\\Tasks" + taskPath, formats::kMaxXmlBytes);
    if (!bytes) return std::nullopt;
    auto text = formats::xmlCharactersOf(*bytes);
    if (!text) return std::nullopt;
    // The definition's own switch is the one the scheduler keeps for it.
    auto definition = formats::readTaskDefinitionText(*text);
    return RegisteredTask{taskPath, std::move(*text), !definition || definition->enabled};
}

void OfflinePlatform::collectTasks(const std::string& folderKey, const std::string& folderPath, int depth,
                                   std::vector<RegisteredTask>& tasks) {
    for (const std::string& name : readSubkeys(cacheKey(folderKey)).value_or(std::vector<std::string>{})) {
        // A name no file can have names no definition either.
        if (fileNameFault(name)) continue;
        std::string key = folderKey, path = folderPath;
        key.append("\\").append(name);
        path.append("\\").append(name);
        if (auto task = taskOf(key, path)) tasks.push_back(std::move(*task));
        else if (depth < kDeepestFolder) collectTasks(key, path, depth + 1, tasks);
    }
}

Result<std::vector<RegisteredTask>> OfflinePlatform::registeredTasks() {
    std::vector<RegisteredTask> tasks;
    collectTasks("Tree", "", 0, tasks);
    return tasks;
}

Status OfflinePlatform::setTaskEnabled(const std::string& taskPath, bool) {
    return Error{ErrorKind::NotOffered, 0,
                 "The scheduled task " + taskPath +
                     " is not switched on a Windows that is not running: its switch is kept in the task scheduler's "
                     "own records as well, whose layout is not published, and Windows refuses a task whose records "
                     "do not match as tampered with. Switch it in the Task Scheduler of that Windows."};
}

}  // namespace lsu::offline
