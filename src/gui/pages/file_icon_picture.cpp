#include "gui/pages/file_icon_picture.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <cstring>

#include "core/graphics/bitmap_canvas.h"

namespace quillet {

Bytes FileIconPicture(const QString& path, int width, int height, QRgb background) {
  if (width <= 0 || height <= 0) return {};
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(QColor::fromRgb(background));
  const QFileIconProvider provider;
  const QIcon icon = provider.icon(QFileInfo(path));
  if (!icon.isNull()) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    icon.paint(&painter, QRect(0, 0, width, height));
  }
  // ARGB32 keeps each pixel as 0xAARRGGBB in a 32-bit word, which on a
  // little-endian machine is blue, green, red, alpha in memory.
  const QImage bgra = image.convertToFormat(QImage::Format_ARGB32);
  BgraImage pixels;
  pixels.width = width;
  pixels.height = height;
  pixels.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  for (int y = 0; y < height; ++y) {
    const uchar* row = bgra.constScanLine(y);
    for (int x = 0; x < width; ++x) {
      const QRgb p = reinterpret_cast<const QRgb*>(row)[x];
      std::uint8_t* out = &pixels.pixels[(static_cast<std::size_t>(y) * width + x) * 4];
      out[0] = static_cast<std::uint8_t>(qBlue(p));
      out[1] = static_cast<std::uint8_t>(qGreen(p));
      out[2] = static_cast<std::uint8_t>(qRed(p));
      out[3] = static_cast<std::uint8_t>(qAlpha(p));
    }
  }
  BitmapCanvas canvas;
  if (!canvas.LoadFromPixels(pixels, 32)) return {};
  return canvas.GetBmpFile();
}

}  // namespace quillet
