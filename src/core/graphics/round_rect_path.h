#pragma once

// The outline of a rounded rectangle as data: four quarter arcs (angles in
// degrees, clockwise from the positive x axis as the drawing API counts
// them) joined into one closed figure, or a plain rectangle.

#include <cstdint>
#include <vector>

#include "core/graphics/geometry.h"

namespace quillet {

struct PathArc {
  PixelRect bounds;  // the ellipse the arc belongs to
  float startAngle = 0;
  float sweepAngle = 0;
  friend bool operator==(const PathArc&, const PathArc&) = default;
};

struct RoundRectPath {
  bool plainRectangle = false;  // true: `rectangle` alone, no arcs
  PixelRect rectangle;
  std::vector<PathArc> arcs;  // top left, top right, bottom right, bottom left
};

// A radius of 0 or less gives a plain rectangle; otherwise the radius is
// limited to 1 ... 100.
RoundRectPath CreateRoundRectPath(int x, int y, int width, int height, int radius);

// A 0x00BBGGRR colour with an alpha as an ARGB value (0xAARRGGBB).
std::uint32_t ColorToArgb(std::uint32_t colour, int alpha);

}  // namespace quillet
