// lsu_empty_hive PATH...: writes an empty hive at each path, for the
// comparison of the two tools (scripts/offline-matches-windows.sh), which
// fills them with hivexsh.

#include <fstream>
#include <iostream>

#include "offline/EmptyHive.h"

int main(int argc, char** argv) {
    const auto bytes = lsu::test::emptyHiveBytes();
    for (int i = 1; i < argc; ++i) {
        if (!std::ofstream(argv[i], std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size())))
            return (std::cerr << "lsu_empty_hive: cannot write " << argv[i] << '\n', 1);
    }
    return 0;
}
