#pragma once

// A small PNG encoder for pictures the program draws itself: 8-bit RGBA,
// no interlacing, zlib-compressed rows.

#include "core/text/text.h"

namespace quillet {

// `rgba` holds width x height pixels, top-down, four bytes each (red, green,
// blue, alpha). Empty bytes for a non-positive size, a pixel buffer of the
// wrong length or a failed compression.
Bytes EncodePngRgba(int width, int height, const Bytes& rgba);

}  // namespace quillet
