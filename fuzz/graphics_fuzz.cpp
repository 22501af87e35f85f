// Feeds arbitrary bytes to the .bmp loader: whatever it accepts must describe
// itself consistently, read back as the same file and answer pixel reads
// anywhere without touching memory outside the image.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/graphics/bitmap_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using quillet::BitmapCanvas;
  const quillet::Bytes bytes(data, data + size);
  BitmapCanvas canvas;
  if (!canvas.LoadFromBmpBytes(bytes)) {
    if (!canvas.IsEmpty()) std::abort();
    return 0;
  }
  const quillet::Bytes file = canvas.GetBmpFile();
  if (file.size() != 14 + canvas.DibBytes().size() || file.size() > size) std::abort();
  if (canvas.GetPixelDataAddress() + canvas.GetPixelDataSize() != canvas.DibBytes().size()) {
    std::abort();
  }
  BitmapCanvas again;
  if (!again.LoadFromBmpBytes(file) || again.GetBmpFile() != file) std::abort();

  const int w = canvas.GetWidth(), h = canvas.GetHeight();
  const int probes[][2] = {{0, 0}, {w - 1, h - 1}, {w, 0}, {0, h}, {-1, -1}, {w / 2, h / 2}};
  for (const auto& p : probes) {
    const std::uint32_t colour = canvas.ReadPixel(p[0], p[1]);
    const bool inside = p[0] >= 0 && p[1] >= 0 && p[0] < w && p[1] < h;
    if (inside != (colour != quillet::kInvalidColour)) std::abort();
    if (inside && !canvas.WritePixel(p[0], p[1], colour)) std::abort();
  }
  if (size > 0 && canvas.ConvertBitDepth(data[0] % 2 ? 8 : 24) && canvas.GetWidth() != w) {
    std::abort();
  }
  return 0;
}
