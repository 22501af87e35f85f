#include "core/graphics/shadow_geometry.h"

namespace quillet {

ShadowPlacement PlaceShadow(const ShadowedWindowState& window, int size) {
  ShadowPlacement placement;
  if (!window.visible || window.maximised || window.minimised) return placement;
  placement.show = true;
  const PixelRect& f = window.frame;
  if (f.width == 0 || f.height == 0) return placement;
  placement.place = true;
  const std::int64_t s = size;
  placement.frame = {SaturateToInt(f.x - s), SaturateToInt(f.y - s), SaturateToInt(f.width + 2 * s),
                     SaturateToInt(f.height + 2 * s)};
  return placement;
}

ShadowDrawing ChooseShadowDrawing(std::uint32_t colour, int size) {
  if (colour == 0 && size == 5) return ShadowDrawing::SmallPicture;
  if (colour == 0 && size == 10) return ShadowDrawing::LargePicture;
  return ShadowDrawing::Rings;
}

int ShadowRingStep(int size) {
  if (size <= 0) return 0;
  return (size > 8 ? 150 : 100) / size;
}

ShadowRings BuildShadowRings(int width, int height, int size, std::uint32_t colour) {
  ShadowRings out;
  if (size <= 0) return out;
  const std::int64_t s = size;
  out.uncovered = {size, size, SaturateToInt(width - 2 * s), SaturateToInt(height - 2 * s)};
  const int step = ShadowRingStep(size);
  // Rings past the middle of the bitmap would have no size; stopping there
  // also bounds the work for an absurd size.
  for (int i = 1; i <= size && width - 2LL * i + 1 > 0 && height - 2LL * i + 1 > 0; ++i) {
    out.rings.push_back({CreateRoundRectPath(i - 1, i - 1, width - 2 * i + 1, height - 2 * i + 1,
                                             kShadowRingRadius),
                         ColorToArgb(colour, step * i)});
  }
  return out;
}

}  // namespace quillet
