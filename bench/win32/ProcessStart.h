#pragma once
// How long a program takes from its start until its window is on the screen
// and painted, and the same for the smallest window Wine can show.

namespace lsu::bench {

// When the benchmark is started with this argument it only shows an empty
// window, as the baseline for starting a program under Wine.
inline constexpr wchar_t kEmptyWindowArgument[] = L"--empty-window";
int showEmptyWindow();

// Milliseconds from CreateProcess until the program's window, found by its
// class, is visible and its tree holds the sections (the empty window: is
// visible), the program being idle for input.
double startUntilShown(const wchar_t* program, const wchar_t* argument, const wchar_t* windowClass,
                       bool needsTree);

}  // namespace lsu::bench
