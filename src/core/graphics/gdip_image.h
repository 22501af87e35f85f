#pragma once

// One decoded picture kept for drawing (the two window-shadow pictures are
// the program's instances). Loading releases the previous picture first.

#include <memory>

#include "core/graphics/image_decoder.h"
#include "core/text/text.h"

namespace quillet {

class GdipImage {
 public:
  // `decoder` must outlive the object.
  explicit GdipImage(const ImageDecoder& decoder) : decoder_(&decoder) {}

  // False for fewer than 5 bytes or bytes the decoder cannot read; the object
  // is then empty.
  bool LoadFromBytes(const Bytes& bytes);

  // Drops the picture and the kept size.
  void Release();

  // The picture's size, asked once and then kept; a picture that reports a
  // zero width or height is released. 0 when empty.
  int GetWidth();
  int GetHeight();

  // The picture to draw; null when empty.
  const DecodedImage* GetImageHandle() const { return image_.get(); }

 private:
  void GetSize();

  const ImageDecoder* decoder_;
  std::unique_ptr<DecodedImage> image_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace quillet
