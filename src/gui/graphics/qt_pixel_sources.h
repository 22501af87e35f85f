#pragma once

// Where a canvas copies pixels from, over Qt: a still image (the screen as
// grabbed, the clipboard's picture, an icon drawn on white, a bitmap), or a
// live window that paints itself on every grab.

#include <QIcon>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include "core/graphics/pixel_source.h"

namespace quillet {

// A fixed picture; a null image is a source with nothing to copy.
class ImagePixelSource final : public PixelSource {
 public:
  explicit ImagePixelSource(QImage image) : image_(std::move(image)) {}
  int Width() const override { return image_.isNull() ? 0 : image_.width(); }
  int Height() const override { return image_.isNull() ? 0 : image_.height(); }
  std::optional<BgraImage> Grab(int x, int y, int width, int height) override;

 private:
  QImage image_;
};

// The client area of a widget, painted afresh (children included) for each
// grab. A hidden or minimised widget, or one that has gone, has nothing to
// copy.
class WidgetPixelSource final : public PixelSource {
 public:
  explicit WidgetPixelSource(QWidget* widget) : widget_(widget) {}
  int Width() const override;
  int Height() const override;
  std::optional<BgraImage> Grab(int x, int y, int width, int height) override;

 private:
  bool CanPaint() const;
  QPointer<QWidget> widget_;
};

// The primary screen as it looks now; a null image without a screen.
QImage GrabScreenImage();

// The clipboard's picture; a null image when it holds none.
QImage ClipboardImage();

// `icon` drawn stretched to width x height over white; a null image for a
// size of 0 or less. An icon without pixels leaves the white square.
QImage IconOnWhite(const QIcon& icon, int width, int height);

}  // namespace quillet
