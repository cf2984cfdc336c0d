#pragma once
// How an attempt to write an entry ended. Declined is the user's own No to a
// replace question: nothing was changed, and that is not a failure.

namespace lsu {

enum class Outcome { Done, Declined, Failed };

}  // namespace lsu
