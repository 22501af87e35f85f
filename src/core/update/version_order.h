#pragma once

// Ordering of dotted version texts ("1.0.0.9" < "1.0.0.10").

#include <string_view>

namespace quillet {

// Compares two version texts part by part (parts split at "."), after ASCII
// white space around them is trimmed. Within a part its leading decimal
// digits count as a number of any length (no digits count as 0) and the rest
// of the part decides between equal numbers, byte by byte. Missing parts
// count as "0", so "1.0" equals "1.0.0.0". <0, 0, >0.
int CompareVersionTexts(std::string_view a, std::string_view b);

// True when `published` names a later version than `own`. An empty
// published version is never newer; neither is anything when the own version
// could not be read (empty).
bool IsNewerVersion(std::string_view published, std::string_view own);

}  // namespace quillet
