#pragma once
// Bytes currently held on the heap by this process, counted by the
// benchmark's own operator new and delete.

#include <cstddef>

namespace lsu::bench {

std::size_t liveHeapBytes();

}  // namespace lsu::bench
