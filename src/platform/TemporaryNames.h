#pragma once
// The names of this program's unfinished files. A file is written whole under
// such a name beside its target and only then renamed to the target, so that
// a run stopped half-way never leaves a half-written file, nor a whole one
// that Windows would take for a start-up entry of its own, under a real name.
// The name is a dot, the target's name, ".lstartup-" and six letters or
// digits drawn at random: listings pass over it, and a later run knows what
// an earlier one left behind.

#include <string>
#include <string_view>

namespace lsu {

std::string temporaryNameFor(std::string_view target);
bool isTemporaryName(std::string_view name);

}  // namespace lsu
