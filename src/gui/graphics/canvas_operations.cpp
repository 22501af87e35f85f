#include "gui/graphics/canvas_operations.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QScreen>

#include "core/graphics/dib_layout.h"
#include "gui/graphics/qt_bgra_image.h"
#include "gui/graphics/qt_pixel_sources.h"

namespace quillet {

namespace {

// .bmp files above this are not read into memory; the canvas refuses
// anything near it anyway.
constexpr qint64 kMaxBmpFileBytes = kMaxDibBytes + kFileHeaderSize;

}  // namespace

int NativeBitCount(const QImage& image) {
  const int depth = image.depth();
  return IsSupportedBitDepth(depth) ? depth : 32;
}

int DisplayBitCount() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return 32;
  return IsSupportedBitDepth(screen->depth()) ? screen->depth() : 32;
}

bool CaptureScreen(BitmapCanvas& canvas, int x, int y, int width, int height, int bitCount) {
  canvas.Reset();
  const int depth = bitCount == kSourceBitDepth ? DisplayBitCount() : bitCount;
  if (!IsSupportedBitDepth(depth)) return false;
  ImagePixelSource screen(GrabScreenImage());
  return canvas.CaptureRegion(screen, x, y, width, height, depth);
}

bool CaptureWindow(BitmapCanvas& canvas, QWidget* window, int x, int y, int width, int height,
                   int bitCount) {
  canvas.Reset();
  if (!IsSupportedBitDepth(bitCount)) return false;
  WidgetPixelSource source(window);
  if (source.Width() <= 0 || source.Height() <= 0) return false;
  return canvas.CaptureRegion(source, x, y, width, height, bitCount);
}

bool LoadFromBitmapHandle(BitmapCanvas& canvas, const QImage& bitmap, int bitCount) {
  canvas.Reset();
  if (bitmap.isNull()) return false;
  const int depth = bitCount == kSourceBitDepth ? NativeBitCount(bitmap) : bitCount;
  if (!IsSupportedBitDepth(depth)) return false;
  return canvas.LoadFromPixels(ToBgraImage(bitmap), depth);
}

bool LoadFromBitmapHandle(BitmapCanvas& canvas, const QPixmap& bitmap, int bitCount) {
  return LoadFromBitmapHandle(canvas, bitmap.toImage(), bitCount);
}

bool LoadFromClipboard(BitmapCanvas& canvas, int bitCount) {
  return LoadFromBitmapHandle(canvas, ClipboardImage(), bitCount);
}

bool LoadFromIcon(BitmapCanvas& canvas, const QIcon& icon, int width, int height, int bitCount) {
  canvas.Reset();
  if (!IsSupportedBitDepth(bitCount)) return false;
  ImagePixelSource drawn(IconOnWhite(icon, width, height));
  return canvas.LoadFromSource(drawn, 0, 0, width, height, bitCount);
}

bool LoadFromFile(BitmapCanvas& canvas, const QString& path) {
  canvas.Reset();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxBmpFileBytes) return false;
  const QByteArray data = file.readAll();
  const Bytes bytes(data.begin(), data.end());
  // The canvas reads uncompressed files itself and keeps their depth and
  // palette exactly; run-length compressed ones go through Qt's reader.
  if (canvas.LoadFromBmpBytes(bytes)) return true;
  QImageReader reader(path, "BMP");
  const QImage image = reader.read();
  if (image.isNull()) return false;
  return LoadFromBitmapHandle(canvas, image, kSourceBitDepth);
}

bool LoadFromBytes(BitmapCanvas& canvas, const Bytes& bmpFile, const QString& tempFolder) {
  canvas.Reset();
  const QDir folder(tempFolder.isEmpty() ? QDir::tempPath() : tempFolder);
  const QString path = folder.filePath(QStringLiteral("新位图操作类_载入位图.bmp"));
  bool loaded = false;
  {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
      const qint64 size = static_cast<qint64>(bmpFile.size());
      const bool written = file.write(reinterpret_cast<const char*>(bmpFile.data()), size) == size;
      file.close();
      loaded = written && LoadFromFile(canvas, path);
    }
  }
  QFile::remove(path);
  if (!loaded) canvas.Reset();
  return loaded;
}

bool CopyToClipboard(const BitmapCanvas& canvas) {
  const QImage image = CanvasToQImage(canvas);
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (image.isNull() || clipboard == nullptr) return false;
  clipboard->setImage(image);
  return true;
}

bool DrawToWindow(const BitmapCanvas& canvas, QPaintDevice& device) {
  const QImage image = CanvasToQImage(canvas);
  if (image.isNull()) return false;
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.drawImage(0, 0, image);
  return painter.end();
}

bool DrawToWindow(const BitmapCanvas& canvas, QLabel* label) {
  if (label == nullptr) return false;
  const QImage image = CanvasToQImage(canvas);
  if (image.isNull()) return false;
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setPixmap(QPixmap::fromImage(image));
  return true;
}

}  // namespace quillet
