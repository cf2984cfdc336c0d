// Reads any bytes as a packaged app's manifest, and as a package full name:
// every startup task read has its id, and a family name is only ever one
// key name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "platform/formats/AppManifest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto manifest = lsu::formats::readAppManifest(std::span(data, size));
    if (manifest) {
        for (const auto& task : manifest->startupTasks) {
            if (task.taskId.empty()) std::abort();
        }
    }
    auto family = lsu::formats::packageFamilyName(std::string_view(reinterpret_cast<const char*>(data), size));
    if (family && family->find_first_of("\\/\0", 0, 3) != std::string::npos) std::abort();
    return 0;
}
