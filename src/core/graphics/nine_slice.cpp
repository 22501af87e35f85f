#include "core/graphics/nine_slice.h"

#include <algorithm>

namespace quillet {

NineSliceMargins DefaultNineSliceMargins(int pictureWidth, int pictureHeight) {
  int m = 5;
  if (pictureWidth > 80 && pictureHeight > 80) {
    m = 20;
  } else if (pictureWidth > 50 && pictureHeight > 50) {
    m = 10;
  }
  return {m, m, SaturateToInt(std::int64_t{pictureWidth} - m),
          SaturateToInt(std::int64_t{pictureHeight} - m)};
}

std::array<SliceCopy, 9> NineSliceCopies(int pw, int ph, const PixelRect& t,
                                         std::optional<NineSliceMargins> margins) {
  const NineSliceMargins m = margins.value_or(DefaultNineSliceMargins(pw, ph));
  using I = std::int64_t;
  const I L = m.left, T = m.top, R = m.right, B = m.bottom;
  const I rw = I{pw} - R;  // width of the right column in the picture
  const I bh = I{ph} - B;  // height of the bottom row in the picture
  const I x = t.x, y = t.y, W = t.width, H = t.height;
  const I midW = std::max<I>(0, W - L - rw);
  const I midH = std::max<I>(0, H - T - bh);
  const auto rect = [](I rx, I ry, I rwidth, I rheight) {
    return PixelRect{SaturateToInt(rx), SaturateToInt(ry), SaturateToInt(rwidth),
                     SaturateToInt(rheight)};
  };
  return {{
      {rect(x, y, L, T), rect(0, 0, L, T)},
      {rect(x + L, y, midW, T), rect(L, 0, R - L, T)},
      {rect(x + W - rw, y, rw, T), rect(R, 0, rw, T)},
      {rect(x, y + T, L, midH), rect(0, T, L, B - T)},
      {rect(x + L, y + T, midW, midH), rect(L, T, R - L, B - T)},
      {rect(x + W - rw, y + T, rw, midH), rect(R, T, rw, B - T)},
      {rect(x, y + H - bh, L, bh), rect(0, B, L, bh)},
      {rect(x + L, y + H - bh, midW, bh), rect(L, B, R - L, bh)},
      {rect(x + W - rw, y + H - bh, rw, bh), rect(R, B, rw, bh)},
  }};
}

}  // namespace quillet
