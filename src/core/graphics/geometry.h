#pragma once

#include <algorithm>
#include <climits>
#include <compare>
#include <cstdint>

namespace quillet {

// A rectangle in pixels: top left corner and size.
struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Window and picture sizes come from outside; geometry is computed in 64 bits
// and brought back into range so extreme values give defined rectangles.
inline int SaturateToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

}  // namespace quillet
