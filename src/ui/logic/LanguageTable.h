#pragma once
// The numbered user-interface texts the failures of enabling and disabling
// are told in.

#include <string>

namespace lsu {

inline constexpr int kTextWinIniEnableFailedPrompt = 59;
inline constexpr int kTextWinIniEnableFailedTitle = 60;
inline constexpr int kTextDisableFailedPrompt = 61;
inline constexpr int kTextDisableFailedTitle = 62;
inline constexpr int kTextEnableFailedPrompt = 63;
inline constexpr int kTextEnableFailedTitle = 64;

// The text of one entry, or the empty text for a number the table lacks.
std::string languageText(int number);

}  // namespace lsu
