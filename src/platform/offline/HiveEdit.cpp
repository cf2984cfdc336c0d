#include "platform/offline/HiveEdit.h"

#include <fcntl.h>
#include <hivex.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "platform/offline/Posix.h"

namespace lsu::offline {

namespace {

// A path that opens what the descriptor has open, so that hivex, which
// takes paths, reads and writes exactly the files held.
std::string pathOfDescriptor(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

// In the child: says why to the parent and ends.
[[noreturn]] void failWith(int report, const std::string& what) {
    const std::string message = what + ": " + std::strerror(errno ? errno : EIO);
    (void)!::write(report, message.data(), message.size());
    ::_exit(1);
}

[[noreturn]] void editInChild(int hiveFd, int outputFd, const HiveEdit& edit, int report) {
    hive_h* hive = hivex_open(pathOfDescriptor(hiveFd).c_str(), HIVEX_OPEN_WRITE);
    if (!hive) failWith(report, "hivex cannot open the hive");
    hive_node_h node = edit.key;
    for (const std::string& name : edit.newKeys)
        if (!(node = hivex_node_add_child(hive, node, name.c_str()))) failWith(report, "creating the key " + name);
    if (edit.values) {
        std::vector<hive_set_value> values(edit.values->size());
        for (std::size_t i = 0; i < values.size(); ++i) {
            const HiveValue& value = (*edit.values)[i];
            values[i].key = const_cast<char*>(value.name.c_str());
            // A type beyond hivex's own list is stored as it came, never made one of its names.
            static_assert(sizeof values[i].t == sizeof value.type);
            std::memcpy(&values[i].t, &value.type, sizeof value.type);
            values[i].len = value.data.size();
            values[i].value = reinterpret_cast<char*>(const_cast<std::uint8_t*>(value.data.data()));
        }
        if (hivex_node_set_values(hive, node, values.size(), values.data(), 0) != 0)
            failWith(report, "writing the values of a key");
    }
    if (edit.removeKey && hivex_node_delete_child(hive, node) != 0) failWith(report, "removing a key");
    if (hivex_commit(hive, pathOfDescriptor(outputFd).c_str(), 0) != 0) failWith(report, "writing the hive");
    ::_exit(0);
}

}  // namespace

Status writeEditedHive(int hiveFd, int outputFd, const HiveEdit& edit, const std::string& hiveName) {
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return errnoResult("preparing to write " + hiveName);
    FileDescriptor reading(report[0]), writing(report[1]);
    const pid_t child = ::fork();
    if (child < 0) return errnoResult("preparing to write " + hiveName);
    if (child == 0) editInChild(hiveFd, outputFd, edit, writing.get());
    writing.reset();
    std::string why;
    char buffer[512];
    for (ssize_t got; (got = ::read(reading.get(), buffer, sizeof buffer)) != 0;) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        why.append(buffer, static_cast<std::size_t>(got));
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status))
        return Error{ErrorKind::DamagedData, 0,
                     "hivex stopped (signal " + std::to_string(WTERMSIG(status)) + ") while changing " + hiveName +
                         ", which must be damaged; nothing was changed."};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return Error{ErrorKind::System, 0,
                     (why.empty() ? "hivex failed" : why) + " in " + hiveName + "; nothing was changed."};
    return {};
}

}  // namespace lsu::offline
