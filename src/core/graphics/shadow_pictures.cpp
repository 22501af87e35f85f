#include "core/graphics/shadow_pictures.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "core/graphics/png_writer.h"

namespace quillet {
namespace {

constexpr int kSide = kShadowPictureSide;

// Folded coordinate: the distance in pixels from the nearer of two opposite
// edges, so one quadrant's rule gives all four mirrored corners.
int Fold(int v) { return std::min(v, kSide - 1 - v); }

std::uint8_t Alpha5(int x, int y) {
  const int col = Fold(x);
  const int row = Fold(y);
  constexpr int s = 5;
  constexpr int cornerSpan = 11;
  if (row < s && col < cornerSpan) return kShadowCorner5[row][col];
  if (col < s && row < cornerSpan) return kShadowCorner5[col][row];
  if (row < s) return kShadowRamp5[row];
  if (col < s) return kShadowRamp5[col];
  return 0;
}

// The ramp sampled at a fractional depth `t` from the outer pixel (0 is the
// outer pixel's value): linear between pixels, fading to nothing half a
// step beyond either end.
double Sample(std::span<const std::uint8_t> ramp, double t) {
  const double last = static_cast<double>(ramp.size()) - 1;
  if (t <= -1 || t >= last + 1) return 0;
  if (t < 0) return ramp.front() * (1 + t);
  if (t > last) return ramp.back() * (last + 1 - t);
  const auto i = static_cast<std::size_t>(t);
  const double f = t - static_cast<double>(i);
  if (i + 1 >= ramp.size()) return ramp[i];
  return ramp[i] * (1 - f) + ramp[i + 1] * f;
}

// Size 10: straight edges carry the ramp; each corner is a quarter circle of
// radius 20 (the nine-slice corner), the ramp running inward from its arc.
std::uint8_t Alpha10(int x, int y, std::span<const std::uint8_t> topLeft,
                     std::span<const std::uint8_t> bottomRight) {
  constexpr int s = 10;
  constexpr double radius = 2.0 * s;
  const int col = Fold(x);
  const int row = Fold(y);
  const auto horizontal = y < kSide / 2 ? topLeft : bottomRight;
  const auto vertical = x < kSide / 2 ? topLeft : bottomRight;
  if (col >= radius) return row < s ? horizontal[static_cast<std::size_t>(row)] : 0;
  if (row >= radius) return col < s ? vertical[static_cast<std::size_t>(col)] : 0;
  const double dx = radius - (col + 0.5);
  const double dy = radius - (row + 0.5);
  const double depth = radius - std::sqrt(dx * dx + dy * dy) - 0.5;
  const auto ramp = row <= col ? horizontal : vertical;
  return static_cast<std::uint8_t>(std::lround(Sample(ramp, depth)));
}

}  // namespace

std::vector<std::uint8_t> ShadowPictureAlpha(int size) {
  if (size != 5 && size != 10) return {};
  std::array<std::uint8_t, 10> bottomRight = kShadowRamp10;
  bottomRight.back() = kShadowRamp10InnerBottomRight;
  std::vector<std::uint8_t> alpha(static_cast<std::size_t>(kSide) * kSide);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      alpha[static_cast<std::size_t>(y) * kSide + x] =
          size == 5 ? Alpha5(x, y) : Alpha10(x, y, kShadowRamp10, bottomRight);
    }
  }
  return alpha;
}

Bytes ShadowPicturePng(int size) {
  const std::vector<std::uint8_t> alpha = ShadowPictureAlpha(size);
  if (alpha.empty()) return {};
  Bytes rgba(alpha.size() * 4, 0);
  for (std::size_t i = 0; i < alpha.size(); ++i) rgba[i * 4 + 3] = alpha[i];
  return EncodePngRgba(kSide, kSide, rgba);
}

}  // namespace quillet
