#pragma once
// The question the operations ask before anything that already stands is
// replaced.

#include <string>

#include "base/Result.h"
#include "operations/UserPrompts.h"

namespace lsu {

// The application title captions every message the program shows of its own.
inline constexpr const char* kAppTitle = "Tovane StartUp";

// Beeps and asks "<what>: "<where>" exists. Replace it?" (Yes/No, no icon).
// Done on Yes; on No, declined by the user, with the question as the message.
Status askReplace(UserPrompts& prompts, const std::string& what, const std::string& where);

}  // namespace lsu
