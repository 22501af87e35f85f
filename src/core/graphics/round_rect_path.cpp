#include "core/graphics/round_rect_path.h"

#include <algorithm>

namespace quillet {

RoundRectPath CreateRoundRectPath(int x, int y, int width, int height, int radius) {
  RoundRectPath path;
  path.rectangle = {x, y, width, height};
  if (radius <= 0) {
    path.plainRectangle = true;
    return path;
  }
  const int d = 2 * std::clamp(radius, 1, 100);
  const int right = SaturateToInt(std::int64_t{x} + width - d);
  const int bottom = SaturateToInt(std::int64_t{y} + height - d);
  path.arcs = {
      {{x, y, d, d}, 180, 90},
      {{right, y, d, d}, 270, 90},
      {{right, bottom, d, d}, 0, 90},
      {{x, bottom, d, d}, 90, 90},
  };
  return path;
}

std::uint32_t ColorToArgb(std::uint32_t colour, int alpha) {
  const std::uint32_t r = colour & 0xFF;
  const std::uint32_t g = (colour >> 8) & 0xFF;
  const std::uint32_t b = (colour >> 16) & 0xFF;
  return (static_cast<std::uint32_t>(alpha & 0xFF) << 24) | (r << 16) | (g << 8) | b;
}

}  // namespace quillet
