#pragma once

// The standard palettes that palette-depth canvases start with. Each entry is
// four bytes: blue, green, red, 0 (the order the DIB palette stores).

#include "core/text/text.h"

namespace quillet {

const Bytes& StandardPalette2();
const Bytes& StandardPalette16();
const Bytes& StandardPalette256();

// The standard palette for 1, 4 or 8 bits per pixel; empty for other depths.
const Bytes& StandardPaletteForDepth(int bitCount);

}  // namespace quillet
