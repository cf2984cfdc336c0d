#include "operations/journal/RecordedChange.h"

#include "base/CaseFolding.h"
#include "base/WindowsPaths.h"

namespace lsu {

namespace {

// The ports a change is made through: reads go to the system as they are;
// a write first records each place it touches.
class RecordingPorts : public Registry,
                       public IniProfiles,
                       public FileSystem,
                       public ShellLinks,
                       public Scheduler,
                       public Services {
public:
    RecordingPorts(ChangeJournal& journal, const SourcePorts& inner, const ChangeTitle& title)
        : journal_(journal), inner_(inner), title_(title) {}

    SourcePorts ports() { return {*this, *this, *this, *this, inner_.system, *this, *this}; }

    // The change's end, once it came to its result; nothing when it touched nothing.
    ChangeResult finish(ChangeResult result) {
        if (!id_) return result;
        ChangeEnd end{static_cast<bool>(result), result ? std::string() : result.error().message, {}};
        for (const TouchedBefore& touched : touched_) {
            auto after = readPlace(inner_, touched.place);
            if (!after) {
                end.done = false;
                if (!end.message.empty()) end.message += ' ';
                end.message += describePlace(touched.place);
                end.message.append(" could not be read after the change: ").append(after.error().message);
            }
            end.after.push_back(after ? *after : touched.before);
        }
        const Status marked = journal_.append(endLine(*id_, end, touched_));
        if (marked || !result || result->warning) return result;
        return Changed{Warning{Warning::NotMarkedInJournal, marked.error()}};
    }

    std::optional<std::vector<RegistryValue>> readValues(const RegistryLocation& key) override {
        return inner_.registry.readValues(key);
    }
    std::optional<RegistryValue> readValue(const RegistryLocation& key, const std::string& name) override {
        return inner_.registry.readValue(key, name);
    }
    Status writeValue(const RegistryLocation& key, const RegistryValue& value, bool createKey) override {
        if (createKey)
            if (Status recorded = recordKeysMade(key); !recorded) return recorded;
        if (Status recorded = record(RegistryPlace{key, value.name}); !recorded) return recorded;
        return inner_.registry.writeValue(key, value, createKey);
    }
    Status deleteValue(const RegistryLocation& key, const std::string& name) override {
        if (Status recorded = record(RegistryPlace{key, name}, true); !recorded) return recorded;
        return inner_.registry.deleteValue(key, name);
    }
    std::optional<std::vector<std::string>> readSubkeys(const RegistryLocation& key) override {
        return inner_.registry.readSubkeys(key);
    }
    Status removeEmptyKey(const RegistryLocation& key) override {
        if (Status recorded = record(KeyPlace{key}, true); !recorded) return recorded;
        return inner_.registry.removeEmptyKey(key);
    }
    Status checkChange(const RegistryLocation& key) override { return inner_.registry.checkChange(key); }
    bool viewsShareKey(Hive hive, const std::string& subkey) override {
        return inner_.registry.viewsShareKey(hive, subkey);
    }

    std::optional<std::string> readProfile(const std::string& section, const std::string& key,
                                           const std::string& file) override {
        return inner_.profiles.readProfile(section, key, file);
    }
    Status writeProfile(const std::string& section, const std::string& key, const std::string& value,
                        const std::string& file) override {
        if (Status recorded = recordProfileKey(section, key, file, false); !recorded) return recorded;
        return inner_.profiles.writeProfile(section, key, value, file);
    }
    Status removeProfileKey(const std::string& section, const std::string& key, const std::string& file) override {
        if (Status recorded = recordProfileKey(section, key, file, true); !recorded) return recorded;
        return inner_.profiles.removeProfileKey(section, key, file);
    }
    Status checkChange(const std::string& section, const std::string& file) override {
        return inner_.profiles.checkChange(section, file);
    }

    bool fileExists(const std::string& path) override { return inner_.files.fileExists(path); }
    bool folderExists(const std::string& path) override { return inner_.files.folderExists(path); }
    // The folders that hold the journal are the journal's: a change that
    // makes one for its own files finds it made, and leaves it standing.
    Status ensureFolder(const std::string& path) override {
        if (holdsJournal(path)) return inner_.files.ensureFolder(path);
        if (Status recorded = record(FolderPlace{path}); !recorded) return recorded;
        return inner_.files.ensureFolder(path);
    }
    Status removeFolder(const std::string& path) override {
        if (holdsJournal(path)) return {};
        if (Status recorded = record(FolderPlace{path}, true); !recorded) return recorded;
        return inner_.files.removeFolder(path);
    }
    std::vector<std::string> listFiles(const std::string& folder) override { return inner_.files.listFiles(folder); }
    Result<Bytes> readFile(const std::string& path) override { return inner_.files.readFile(path); }
    Result<Bytes> readFileUpTo(const std::string& path, std::size_t limit) override {
        return inner_.files.readFileUpTo(path, limit);
    }
    Status writeFile(const std::string& path, const Bytes& bytes) override {
        if (Status kept = keepable(path, bytes.size()); !kept) return kept;
        if (Status recorded = record(FilePlace{path}); !recorded) return recorded;
        return inner_.files.writeFile(path, bytes);
    }
    Status createHiddenFile(const std::string& path, const Bytes& bytes) override {
        if (Status kept = keepable(path, bytes.size()); !kept) return kept;
        if (Status recorded = record(FilePlace{path}); !recorded) return recorded;
        return inner_.files.createHiddenFile(path, bytes);
    }
    Status deleteFile(const std::string& path) override {
        if (Status recorded = record(FilePlace{path}, true); !recorded) return recorded;
        return inner_.files.deleteFile(path);
    }
    Status moveFile(const std::string& from, const std::string& to, bool replace) override {
        if (Status recorded = record(FilePlace{from}, true); !recorded) return recorded;
        if (Status recorded = record(FilePlace{to}); !recorded) return recorded;
        return inner_.files.moveFile(from, to, replace);
    }
    Status checkChange(const std::string& path) override { return inner_.files.checkChange(path); }
    std::string pathToShow(const std::string& folder, const std::string& name) override {
        return inner_.files.pathToShow(folder, name);
    }

    std::optional<ShortcutInfo> readShortcut(const std::string& linkFile) override {
        return inner_.links.readShortcut(linkFile);
    }
    Status writeShortcut(const std::string& linkFile, const ShortcutFields& fields, bool replace) override {
        if (Status recorded = record(FilePlace{linkFile}); !recorded) return recorded;
        return inner_.links.writeShortcut(linkFile, fields, replace);
    }

    Result<std::vector<RegisteredTask>> registeredTasks() override { return inner_.tasks.registeredTasks(); }
    bool switchesTasks() override { return inner_.tasks.switchesTasks(); }
    Status setTaskEnabled(const std::string& taskPath, bool enabled) override {
        if (Status recorded = record(TaskPlace{taskPath}); !recorded) return recorded;
        return inner_.tasks.setTaskEnabled(taskPath, enabled);
    }

    Result<std::vector<ServiceConfig>> listServices() override { return inner_.services.listServices(); }
    Result<ServiceConfig> readService(const std::string& name) override { return inner_.services.readService(name); }
    Status setServiceStart(const std::string& name, std::uint32_t startType, bool delayed) override {
        if (Status recorded = record(ServicePlace{name}); !recorded) return recorded;
        return inner_.services.setServiceStart(name, startType, delayed);
    }

private:
    // A write that creates a key creates the keys above it that are
    // missing as well, the outermost first.
    Status recordKeysMade(const RegistryLocation& key) {
        if (inner_.registry.readValues(key)) return {};
        for (std::size_t end = 0; end != std::string::npos;) {
            end = key.subkey.find('\\', end + 1);
            const RegistryLocation level{key.hive, key.view, key.subkey.substr(0, end)};
            if (!inner_.registry.readValues(level))
                if (Status recorded = record(KeyPlace{level}); !recorded) return recorded;
        }
        return {};
    }

    // A section kept in the file changes the file's bytes as well: a key
    // added, a section header. The file is put back whole.
    Status recordProfileKey(const std::string& section, const std::string& key, const std::string& file, bool removal) {
        if (Status recorded = record(FilePlace{file}, removal); !recorded) return recorded;
        return record(ProfilePlace{file, section, key}, removal);
    }

    bool holdsJournal(const std::string& folder) const {
        const std::string journal = journal_.path();
        const std::string prefix = withTrailingBackslash(folder);
        return journal.size() > prefix.size() && equalsNoCase(journal.substr(0, prefix.size()), prefix);
    }

    // A file the journal cannot keep whole could not be put back: a change
    // that would remove it, or write it elsewhere to move it, is refused
    // before it writes anything.
    static Status keepable(const std::string& what, std::size_t bytes) {
        if (bytes <= kKeptFileBytesPerChange) return {};
        return Error{ErrorKind::NotJournaled, 0,
                     what + " holds more than the " + std::to_string(kKeptFileBytesPerChange >> 10) +
                         " KB of files the journal keeps of one change, so the change could not be undone. Nothing "
                         "was changed."};
    }

    // Writes what stands at the place to the journal, the first time the
    // change touches it. Removing what does not stand changes nothing.
    Status record(const TouchedPlace& place, bool removal = false) {
        for (const TouchedBefore& touched : touched_)
            if (samePlace(touched.place, place)) return {};
        auto before = readPlace(inner_, place);
        if (!before) return before.error();
        if (removal && !*before) return {};
        if (auto* bytes = *before ? std::get_if<Bytes>(&**before) : nullptr) {
            if (Status kept = keepable(describePlace(place), keptBytes_ + bytes->size()); !kept) return kept;
            keptBytes_ += bytes->size();
        }
        std::string lines;
        if (!id_) {
            auto id = journal_.nextId();
            if (!id) return id.error();
            lines = beginLine(
                {*id, journal_.now(), journal_.tool(), title_.action, title_.section, title_.entry, title_.undoes});
            id_ = *id;
        }
        TouchedBefore touched{place, std::move(*before)};
        lines += placeLine(*id_, touched);
        if (Status written = journal_.append(lines); !written) {
            if (touched_.empty()) id_.reset();
            return written;
        }
        touched_.push_back(std::move(touched));
        return {};
    }

    ChangeJournal& journal_;
    SourcePorts inner_;
    ChangeTitle title_;
    std::optional<ChangeId> id_;
    std::vector<TouchedBefore> touched_;
    std::size_t keptBytes_ = 0;
};

}  // namespace

ChangeTitle changeTitle(ChangeAction action, SectionId id, const std::string& entry) {
    return {action, std::string(section(id).key), entry, std::nullopt};
}

ChangeResult recordChange(ChangeJournal& journal, const SourcePorts& ports, const ChangeTitle& title,
                          const std::function<ChangeResult(const SourcePorts&)>& change) {
    RecordingPorts recording(journal, ports, title);
    return recording.finish(change(recording.ports()));
}

}  // namespace lsu
