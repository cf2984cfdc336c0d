#include "support/Scratch.h"

#include "base/WindowsPaths.h"
#include "support/Seed.h"

namespace lsu::test {

Scratch::Scratch(const SourcePorts& ports, const std::string& name)
    : fileSystem_(ports.files), folder_(withTrailingBackslash(ports.system.programFolder()) + name) {
    expectDone(fileSystem_.ensureFolder(folder_), "making " + folder_);
}

Scratch::~Scratch() {
    // A test may have removed its files itself already.
    for (auto it = files_.rbegin(); it != files_.rend(); ++it) (void)fileSystem_.deleteFile(*it);
}

std::string Scratch::subfolder(const std::string& relative) {
    std::string path = folder_;
    for (std::size_t start = 0, slash = 0; slash != std::string::npos; start = slash + 1) {
        slash = relative.find('\\', start);
        path += '\\' + relative.substr(start, slash - start);
        expectDone(fileSystem_.ensureFolder(path), "making " + path);
    }
    return path;
}

std::string Scratch::file(const std::string& relative, const std::string& content) {
    auto slash = relative.find_last_of('\\');
    if (slash != std::string::npos) subfolder(relative.substr(0, slash));
    return fileAt(folder_ + "\\" + relative, content);
}

std::string Scratch::fileAt(const std::string& path, const std::string& content) {
    expectDone(fileSystem_.writeFile(path, std::vector<std::uint8_t>(content.begin(), content.end())),
               "writing " + path);
    files_.push_back(path);
    return path;
}

std::string Scratch::hiddenFileAt(const std::string& path) {
    expectDone(fileSystem_.createHiddenFile(path, {'x'}), "writing " + path);
    files_.push_back(path);
    return path;
}

}  // namespace lsu::test
