#pragma once
// How an attempt to write an entry ended. Declined is the user's own No to a
// replace question: nothing was changed, and that is not a failure. A failure
// carries the system's reason when it gave one.

#include <optional>

#include "platform/Platform.h"

namespace lsu {

struct Outcome {
    enum Kind { Done, Declined, Failed };
    Kind kind = Done;
    std::optional<SystemError> reason;

    static Outcome done() { return {}; }
    static Outcome declined() { return {Declined, std::nullopt}; }
    static Outcome failed() { return {Failed, std::nullopt}; }
    static Outcome failed(const SystemResult& result) { return {Failed, result.error()}; }
};

}  // namespace lsu
