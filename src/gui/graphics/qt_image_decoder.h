#pragma once

// Pictures for GdipImage decoded by Qt (PNG, GIF, ICO, BMP, JPEG: whatever
// image formats the Qt installation reads), kept as QImage for drawing.

#include <QImage>

#include "core/graphics/gdip_image.h"
#include "core/graphics/image_decoder.h"

namespace quillet {

class QtDecodedImage final : public DecodedImage {
 public:
  explicit QtDecodedImage(QImage image) : image_(std::move(image)) {}
  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  const QImage& Image() const { return image_; }

 private:
  QImage image_;
};

class QtImageDecoder final : public ImageDecoder {
 public:
  std::unique_ptr<DecodedImage> Decode(const Bytes& bytes) const override;
};

// The program's decoder. It keeps no state, so every GdipImage may share it
// for the whole run.
const ImageDecoder& QtImageDecoderInstance();

// The picture `image` holds, ready for QPainter::drawImage; null when it is
// empty or was filled by another decoder.
const QImage* DecodedQImage(const GdipImage& image);

}  // namespace quillet
