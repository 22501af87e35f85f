#include "gui/pages/file_icon_picture.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QPainter>

#include "core/graphics/bitmap_canvas.h"
#include "gui/graphics/qt_bgra_image.h"

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
  BitmapCanvas canvas;
  if (!canvas.LoadFromPixels(ToBgraImage(image), 32)) return {};
  return canvas.GetBmpFile();
}

}  // namespace quillet
