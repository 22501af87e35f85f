#pragma once

// Nine-slice drawing of a picture onto a larger target: the four corners are
// copied unscaled, the edges stretch along their length and the middle
// stretches both ways. Pure geometry; the GUI draws each piece.

#include <array>
#include <optional>

#include "core/graphics/geometry.h"

namespace quillet {

// Left and top are widths; right and bottom are coordinates in the picture
// where the right and bottom slices begin.
struct NineSliceMargins {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const NineSliceMargins&, const NineSliceMargins&) = default;
};

struct SliceCopy {
  PixelRect destination;
  PixelRect source;
};

// The margins used when none are given: m = 20 for pictures larger than
// 80 x 80, 10 above 50 x 50, else 5; (m, m, width - m, height - m).
NineSliceMargins DefaultNineSliceMargins(int pictureWidth, int pictureHeight);

// The nine copies, top row first, left to right. A target narrower or
// shorter than its two corners gives the stretched pieces a size of 0
// (nothing to draw) rather than a negative one.
std::array<SliceCopy, 9> NineSliceCopies(int pictureWidth, int pictureHeight,
                                         const PixelRect& target,
                                         std::optional<NineSliceMargins> margins = std::nullopt);

}  // namespace quillet
