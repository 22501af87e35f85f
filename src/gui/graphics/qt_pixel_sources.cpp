#include "gui/graphics/qt_pixel_sources.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include "gui/graphics/qt_bgra_image.h"

namespace quillet {

std::optional<BgraImage> ImagePixelSource::Grab(int x, int y, int width, int height) {
  if (image_.isNull()) return std::nullopt;
  return BgraRegion(image_, x, y, width, height);
}

bool WidgetPixelSource::CanPaint() const {
  return widget_ && widget_->isVisible() && !widget_->window()->isMinimized();
}

int WidgetPixelSource::Width() const { return CanPaint() ? widget_->width() : 0; }

int WidgetPixelSource::Height() const { return CanPaint() ? widget_->height() : 0; }

std::optional<BgraImage> WidgetPixelSource::Grab(int x, int y, int width, int height) {
  if (!CanPaint()) return std::nullopt;
  // One widget pixel per canvas pixel: on a scaled display the grab comes
  // back at device resolution and is brought to the widget's own size.
  QImage painted = widget_->grab().toImage();
  if (painted.isNull()) return std::nullopt;
  if (painted.size() != widget_->size()) {
    painted = painted.scaled(widget_->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
  }
  return BgraRegion(painted, x, y, width, height);
}

QImage GrabScreenImage() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  QImage image = screen->grabWindow(0).toImage();
  const QSize logical = screen->size();
  if (!image.isNull() && image.size() != logical) {
    image = image.scaled(logical, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  }
  return image;
}

QImage ClipboardImage() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return {};
  return clipboard->image();
}

QImage IconOnWhite(const QIcon& icon, int width, int height) {
  if (width <= 0 || height <= 0) return {};
  QImage image(width, height, QImage::Format_ARGB32);
  if (image.isNull()) return {};
  image.fill(Qt::white);
  if (!icon.isNull()) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // An icon may have no picture as large as asked; the nearest one is
    // stretched so the whole square is the icon.
    const QPixmap pixmap = icon.pixmap(QSize(width, height));
    if (!pixmap.isNull()) painter.drawPixmap(QRect(0, 0, width, height), pixmap);
  }
  return image;
}

}  // namespace quillet
