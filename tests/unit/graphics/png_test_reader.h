#pragma once

// A strict reader for the PNG files the program writes itself (8-bit RGBA,
// no interlacing, rows without filters), used to prove they decode: it
// checks the signature and every chunk's CRC and inflates the image data
// with zlib.

#include <memory>
#include <optional>

#include "core/graphics/image_decoder.h"
#include "core/text/text.h"

namespace quillet::test {

struct PngImage {
  int width = 0;
  int height = 0;
  int bitDepth = 0;
  int colourType = 0;
  Bytes rgba;  // top-down rows
};

std::optional<PngImage> ReadPng(const Bytes& bytes);

// An ImageDecoder over ReadPng, as the GUI's decoder stands to Qt's.
class PngTestDecoder final : public ImageDecoder {
 public:
  std::unique_ptr<DecodedImage> Decode(const Bytes& bytes) const override;
};

}  // namespace quillet::test
