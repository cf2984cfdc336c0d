#pragma once
// A folder of files a test creates and removes again, on whichever platform
// the test runs.

#include <string>
#include <vector>

#include "platform/Ports.h"

namespace lsu::test {

class Scratch {
public:
    Scratch(const SourcePorts& ports, const std::string& name);
    ~Scratch();
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::string& folder() const { return folder_; }
    // Creates the file (and its folders below the scratch folder); returns its full path.
    std::string file(const std::string& relative, const std::string& content = "x");
    std::string subfolder(const std::string& relative);
    // A file anywhere, removed when the test ends.
    std::string fileAt(const std::string& path, const std::string& content = "x");
    // A hidden file anywhere, removed when the test ends.
    std::string hiddenFileAt(const std::string& path);

private:
    FileSystem& fileSystem_;
    std::string folder_;
    std::vector<std::string> files_;
};

}  // namespace lsu::test
