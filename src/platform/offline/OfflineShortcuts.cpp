// Shortcuts of the offline system: read with liblnk, written by the
// project's own shell-link writer.

#include <liblnk.h>

#include <memory>

#include "base/WindowsPaths.h"
#include "platform/formats/ShellLinkHeader.h"
#include "platform/formats/ShellLinkWriter.h"
#include "platform/offline/OfflinePlatform.h"
#include "platform/offline/Posix.h"

namespace lsu::offline {

namespace {

struct ErrorFree {
    void operator()(liblnk_error_t* error) const { liblnk_error_free(&error); }
};

// An open link file, closed and freed when it goes.
class LinkFile {
public:
    explicit LinkFile(const std::string& path) {
        liblnk_error_t* error = nullptr;
        if (liblnk_file_initialize(&file_, &error) == 1 &&
            liblnk_file_open(file_, path.c_str(), LIBLNK_OPEN_READ, &error) == 1)
            open_ = true;
        std::unique_ptr<liblnk_error_t, ErrorFree> owned(error);
    }
    ~LinkFile() {
        liblnk_error_t* error = nullptr;
        if (open_) liblnk_file_close(file_, &error);
        if (file_) liblnk_file_free(&file_, &error);
        std::unique_ptr<liblnk_error_t, ErrorFree> owned(error);
    }
    LinkFile(const LinkFile&) = delete;
    LinkFile& operator=(const LinkFile&) = delete;

    bool open() const { return open_; }

    // One of the link's strings; empty when the link has none.
    template <typename SizeOf, typename TextOf>
    std::string text(SizeOf sizeOf, TextOf textOf) const {
        liblnk_error_t* error = nullptr;
        std::unique_ptr<liblnk_error_t, ErrorFree> owned;
        std::size_t size = 0;
        std::string value;
        if (sizeOf(file_, &size, &error) == 1 && size > 1) {
            std::string buffer(size, '\0');
            if (textOf(file_, reinterpret_cast<std::uint8_t*>(buffer.data()), size, &error) == 1)
                value = buffer.substr(0, buffer.find('\0'));
        }
        owned.reset(error);
        return value;
    }

private:
    liblnk_file_t* file_ = nullptr;
    bool open_ = false;
};

// The target as the shell's raw path gives it: a path written with
// environment variables as written, else the local path, else the share's.
std::string targetOf(const LinkFile& link) {
    std::string target = link.text(liblnk_file_get_utf8_environment_variables_location_size,
                                   liblnk_file_get_utf8_environment_variables_location);
    if (target.empty()) target = link.text(liblnk_file_get_utf8_local_path_size, liblnk_file_get_utf8_local_path);
    if (target.empty()) target = link.text(liblnk_file_get_utf8_network_path_size, liblnk_file_get_utf8_network_path);
    return target;
}

// The link in the host's file, or nullopt when it is none.
std::optional<ShortcutInfo> linkAt(const std::string& host) {
    auto file = RegularFile::open(host);
    auto header = file ? formats::readShellLinkHeader(file->read(0, formats::kShellLinkHeaderSize)) : std::nullopt;
    if (!header) return std::nullopt;
    LinkFile link(host);
    if (!link.open()) return std::nullopt;
    ShortcutInfo info;
    info.fields.targetPath = targetOf(link);
    info.fields.arguments =
        link.text(liblnk_file_get_utf8_command_line_arguments_size, liblnk_file_get_utf8_command_line_arguments);
    info.fields.description = link.text(liblnk_file_get_utf8_description_size, liblnk_file_get_utf8_description);
    info.fields.workDir =
        link.text(liblnk_file_get_utf8_working_directory_size, liblnk_file_get_utf8_working_directory);
    info.fields.iconFile = link.text(liblnk_file_get_utf8_icon_location_size, liblnk_file_get_utf8_icon_location);
    info.fields.iconIndex = static_cast<int>(header->iconIndex);
    info.fields.hotKey = header->hotKey;
    info.fields.showCmd = static_cast<int>(header->showCommand);
    // The shell shows a link under its file name as it stands on the volume, without its extension.
    info.displayName = stemOf(host.substr(host.find_last_of('/') + 1));
    return info;
}

}  // namespace

std::optional<ShortcutInfo> OfflinePlatform::readShortcut(const std::string& linkFile) {
    auto host = paths_.hostPath(linkFile);
    return host ? linkAt(*host) : std::nullopt;
}

// The link is built whole under a temporary name beside its place and read
// back before it takes the link's name (see LinkPlacement.h).
Status OfflinePlatform::writeShortcut(const std::string& linkFile, const ShortcutFields& fields, bool replace) {
    auto target = changeTarget(linkFile);
    if (!target) return target.error();
    return target->folder.placeFile(
        target->name, formats::shellLinkBytes(fields), replace, [&](const std::string& written) -> Status {
            auto back = linkAt(written);
            if (back && back->fields.targetPath == fields.targetPath && back->fields.arguments == fields.arguments &&
                back->fields.workDir == fields.workDir && back->fields.description == fields.description)
                return {};
            return Error{ErrorKind::ReadBackMismatch, 0,
                         "The link written to " + linkFile + " did not read back the same."};
        });
}

}  // namespace lsu::offline
