#pragma once

// Moving pixels between Qt images and the core's canvas: Qt hands over
// QImages in whatever format it has, the canvas takes top-down BGRA rows and
// gives back 0x00BBGGRR colours.

#include <QImage>

#include "core/graphics/bitmap_canvas.h"
#include "core/graphics/pixel_source.h"

namespace quillet {

// The whole image as top-down BGRA rows; an empty image for a null QImage.
BgraImage ToBgraImage(const QImage& image);

// The region with its top left corner at (x, y); pixels outside `image` are
// black (alpha 0). Nothing for a negative width or height.
std::optional<BgraImage> BgraRegion(const QImage& image, int x, int y, int width, int height);

// The canvas's pixels as an opaque 32-bit image (a null QImage when the
// canvas is empty). Palette and 16-bit depths come out as the colours they
// stand for.
QImage CanvasToQImage(const BitmapCanvas& canvas);

}  // namespace quillet
