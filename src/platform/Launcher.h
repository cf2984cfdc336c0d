#pragma once
// Starting a program, or opening a file, as the shell starts it.

#include <string>

#include "base/Result.h"

namespace lsu {

enum class ShowCommand { Normal, Maximized };

class Launcher {
public:
    virtual ~Launcher() = default;
    virtual Status launch(const std::string& file, const std::string& parameters, const std::string& directory,
                          ShowCommand show) = 0;
};

}  // namespace lsu
