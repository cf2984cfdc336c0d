#pragma once
// The services Windows starts by itself: the automatic ones, and those this
// program switched off, listed from the record of how they started.

#include <optional>
#include <string>
#include <vector>

#include "catalog/ExistenceCheck.h"
#include "catalog/StartupEntry.h"
#include "platform/Ports.h"

namespace lsu {

// The service manager is asked once per load; both leaves take their rows
// from that one answer.
struct ServiceRows {
    std::optional<EntryList> rows;  // of both leaves, in the manager's order; read on first use
};

// Appends the rows of the leaf of delayed services, or of the other one.
void scanServices(bool delayed, const SourcePorts& ports, ExistenceCheck& check, ServiceRows& cache, EntryList& rows);

}  // namespace lsu
