#pragma once

// The canvas operations that need the desktop: capturing the screen or a
// window, the clipboard in both directions, icons, Qt bitmaps, .bmp files
// and showing the picture. Each works on a core BitmapCanvas, starts by
// dropping its image and leaves it empty on failure. GUI thread only.
//
// Bit depths are 1, 4, 8, 16, 24 or 32; anything else gives false.

#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPaintDevice>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include "core/graphics/bitmap_canvas.h"

namespace quillet {

// Means "what the source has": the display's depth, the bitmap's own depth.
inline constexpr int kSourceBitDepth = 0;

// The depth the canvas takes a Qt image at: its own when it is one of the
// six, else 32 (formats with more than 8 bits per channel or odd layouts).
int NativeBitCount(const QImage& image);

// The primary screen's depth, 32 without a screen.
int DisplayBitCount();

// A region of the primary screen; a width or height below 0 reaches to the
// screen's right or bottom edge.
bool CaptureScreen(BitmapCanvas& canvas, int x = 0, int y = 0, int width = -1, int height = -1,
                   int bitCount = kSourceBitDepth);

// A region of the widget's client area, (x, y) from its top left corner;
// false for a hidden or minimised window or one that cannot paint itself.
bool CaptureWindow(BitmapCanvas& canvas, QWidget* window, int x = 0, int y = 0, int width = -1,
                   int height = -1, int bitCount = 24);

// The clipboard's picture; false when it holds none.
bool LoadFromClipboard(BitmapCanvas& canvas, int bitCount = kSourceBitDepth);

// The icon drawn over white at width x height.
bool LoadFromIcon(BitmapCanvas& canvas, const QIcon& icon, int width = 32, int height = 32,
                  int bitCount = 32);

// The whole bitmap; false for a null one.
bool LoadFromBitmapHandle(BitmapCanvas& canvas, const QImage& bitmap,
                          int bitCount = kSourceBitDepth);
bool LoadFromBitmapHandle(BitmapCanvas& canvas, const QPixmap& bitmap,
                          int bitCount = kSourceBitDepth);

// A .bmp file at its own depth; false when it cannot be read.
bool LoadFromFile(BitmapCanvas& canvas, const QString& path);

// The bytes of a .bmp file, read the way LoadFromFile reads a file: they are
// written to "新位图操作类_载入位图.bmp" in `tempFolder` (the system's
// temporary folder when empty), loaded, and the file is removed again.
bool LoadFromBytes(BitmapCanvas& canvas, const Bytes& bmpFile, const QString& tempFolder = {});
// Replaces the clipboard's contents by the canvas's picture; false when the
// canvas is empty.
bool CopyToClipboard(const BitmapCanvas& canvas);

// Paints the picture with its top left corner at (0, 0) of `device`: a
// QImage or QPixmap, or a widget from inside its own paint event (Qt paints
// widgets only there). False when the canvas is empty or painting cannot
// start.
bool DrawToWindow(const BitmapCanvas& canvas, QPaintDevice& device);

// Shows the picture in a label, at its top left corner; false when the
// canvas is empty or there is no label.
bool DrawToWindow(const BitmapCanvas& canvas, QLabel* label);

}  // namespace quillet
