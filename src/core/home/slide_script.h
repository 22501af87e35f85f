#pragma once

// The community site's home page fills its slide show from a script block:
//   slideImgTexts[1] = '...'; slideImgLinks[1] = '...'; and so on.

#include <string_view>
#include <vector>

#include "core/text/text.h"

namespace quillet {

inline constexpr std::string_view kSlideTextsArray = "slideImgTexts";
inline constexpr std::string_view kSlideLinksArray = "slideImgLinks";

// How many slides the page claims: the occurrences of the array name (ASCII
// case ignored) minus one for its declaration; -1 when the name is missing.
long SlideCount(std::string_view page, std::string_view arrayName);

// For n = 1 ... count: the text between the first "<array>[n] = '" and the
// next "'", empty when that entry is missing. The page is read once, so a
// page with very many entries costs no more than its length.
std::vector<Text> SlideValues(std::string_view page, std::string_view arrayName, long count);

}  // namespace quillet
