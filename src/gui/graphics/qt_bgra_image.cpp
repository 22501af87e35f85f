#include "gui/graphics/qt_bgra_image.h"

#include <cstddef>
#include <cstdint>

namespace quillet {

std::optional<BgraImage> BgraRegion(const QImage& image, int x, int y, int width, int height) {
  if (width < 0 || height < 0) return std::nullopt;
  BgraImage out;
  out.width = width;
  out.height = height;
  out.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0);
  if (image.isNull()) return out;
  // ARGB32 keeps each pixel as 0xAARRGGBB in a 32-bit word, read here per
  // channel so the byte order of the machine does not matter.
  const QImage argb = image.format() == QImage::Format_ARGB32
                          ? image
                          : image.convertToFormat(QImage::Format_ARGB32);
  for (int row = 0; row < height; ++row) {
    const std::int64_t sourceY = static_cast<std::int64_t>(y) + row;
    if (sourceY < 0 || sourceY >= argb.height()) continue;
    const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(static_cast<int>(sourceY)));
    for (int column = 0; column < width; ++column) {
      const std::int64_t sourceX = static_cast<std::int64_t>(x) + column;
      if (sourceX < 0 || sourceX >= argb.width()) continue;
      const QRgb p = line[sourceX];
      std::uint8_t* target =
          &out.pixels[(static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                       static_cast<std::size_t>(column)) *
                      4];
      target[0] = static_cast<std::uint8_t>(qBlue(p));
      target[1] = static_cast<std::uint8_t>(qGreen(p));
      target[2] = static_cast<std::uint8_t>(qRed(p));
      target[3] = static_cast<std::uint8_t>(qAlpha(p));
    }
  }
  return out;
}

BgraImage ToBgraImage(const QImage& image) {
  if (image.isNull()) return {};
  return *BgraRegion(image, 0, 0, image.width(), image.height());
}

QImage CanvasToQImage(const BitmapCanvas& canvas) {
  const int width = canvas.GetWidth();
  const int height = canvas.GetHeight();
  if (width <= 0 || height <= 0) return {};
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) return {};
  for (int y = 0; y < height; ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const std::uint32_t colour = canvas.ReadPixel(x, y);
      line[x] = qRgb(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                     static_cast<int>((colour >> 16) & 0xFF));
    }
  }
  return image;
}

}  // namespace quillet
