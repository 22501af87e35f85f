#include "gui/graphics/qt_image_decoder.h"

#include <limits>

namespace quillet {

std::unique_ptr<DecodedImage> QtImageDecoder::Decode(const Bytes& bytes) const {
  // QImage takes the length as an int.
  if (bytes.empty() || bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    return nullptr;
  }
  QImage image = QImage::fromData(bytes.data(), static_cast<int>(bytes.size()));
  if (image.isNull()) return nullptr;
  return std::make_unique<QtDecodedImage>(std::move(image));
}

const ImageDecoder& QtImageDecoderInstance() {
  static const QtImageDecoder decoder;
  return decoder;
}

const QImage* DecodedQImage(const GdipImage& image) {
  const auto* decoded = dynamic_cast<const QtDecodedImage*>(image.GetImageHandle());
  return decoded == nullptr ? nullptr : &decoded->Image();
}

}  // namespace quillet
