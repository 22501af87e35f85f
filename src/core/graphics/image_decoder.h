#pragma once

// Decoding of compressed pictures (PNG, GIF, ICO, BMP) is the GUI's business;
// the core holds what a decoder gives back and asks it for its size.

#include <memory>

#include "core/text/text.h"

namespace quillet {

class DecodedImage {
 public:
  virtual ~DecodedImage() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

class ImageDecoder {
 public:
  virtual ~ImageDecoder() = default;
  // Nothing when the bytes are not a picture the decoder reads.
  virtual std::unique_ptr<DecodedImage> Decode(const Bytes& bytes) const = 0;
};

}  // namespace quillet
