#pragma once
// The version resources of programs.

#include <string>

namespace lsu {

class VersionInfo {
public:
    virtual ~VersionInfo() = default;
    // The CompanyName of the file's version resource (its first
    // translation); empty when the file has none or cannot be read.
    virtual std::string companyName(const std::string& programPath) = 0;
};

}  // namespace lsu
