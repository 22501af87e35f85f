#pragma once

// Where a canvas copies pixels from: the screen, a window, a drawing surface
// or the clipboard. The GUI implements this over its own drawing system; the
// core only sees 32-bit pixels of the region it asked for.

#include <cstdint>
#include <optional>
#include <vector>

namespace quillet {

// Top-down rows of `width` pixels, four bytes each: blue, green, red, alpha.
struct BgraImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height * 4 bytes
};

class PixelSource {
 public:
  virtual ~PixelSource() = default;
  // Size of the whole source (screen size, client area, bitmap size); 0 when
  // there is nothing to copy (a hidden or minimised window, an empty
  // clipboard).
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // The region with its top left corner at (x, y); parts outside the source
  // read as black. Nothing when the source cannot deliver (a window that
  // cannot paint itself, a clipboard without a bitmap).
  virtual std::optional<BgraImage> Grab(int x, int y, int width, int height) = 0;
};

}  // namespace quillet
