#pragma once

// What the window shadow shows and where, as pure decisions; the GUI owns the
// shadow window and does the drawing.

#include <cstdint>
#include <optional>
#include <vector>

#include "core/graphics/geometry.h"
#include "core/graphics/round_rect_path.h"

namespace quillet {

inline constexpr int kDefaultShadowSize = 5;
inline constexpr int kShadowRingRadius = 4;

// The shadowed window as the shadow sees it.
struct ShadowedWindowState {
  PixelRect frame;  // window rectangle on the screen
  bool visible = false;
  bool maximised = false;
  bool minimised = false;
};

struct ShadowPlacement {
  bool show = false;   // false: hide the shadow window
  bool place = false;  // true: move it to `frame` and redraw
  PixelRect frame;     // the window's rectangle grown by the size on every side
};

// Hidden when the window is invisible, maximised or minimised; otherwise
// shown, and placed (x - s, y - s, w + 2s, h + 2s) unless the window has a
// zero width or height.
ShadowPlacement PlaceShadow(const ShadowedWindowState& window, int size);

enum class ShadowDrawing {
  SmallPicture,  // nine-slice of the size-5 picture
  LargePicture,  // nine-slice of the size-10 picture
  Rings,         // concentric rounded outlines
};

// Black shadows of size 5 and 10 use the stored pictures; anything else is
// drawn as rings.
ShadowDrawing ChooseShadowDrawing(std::uint32_t colour, int size);

// Alpha step between rings: (150 for sizes above 8, else 100) / size,
// truncated.
int ShadowRingStep(int size);

struct ShadowRing {
  RoundRectPath path;
  std::uint32_t argb = 0;  // pen colour, 1 pixel wide
};

struct ShadowRings {
  PixelRect uncovered;            // the area under the window, excluded from drawing
  std::vector<ShadowRing> rings;  // outermost (faintest) first
};

// The outlines for a shadow bitmap of width x height: ring i (1 ... size) is
// the rounded rectangle (i - 1, i - 1, width - 2i + 1, height - 2i + 1) with
// radius 4 and alpha step x i. Rings that would have no width or height are
// left out; a size of 0 or less gives none.
ShadowRings BuildShadowRings(int width, int height, int size, std::uint32_t colour);

}  // namespace quillet
