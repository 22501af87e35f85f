#include "gui/graphics/canvas_operations.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "gui/graphics/qt_pixel_sources.h"
#include "qt_test_environment.h"

namespace quillet {
namespace {

constexpr std::uint32_t kRed = 0x0000FF;   // 0x00BBGGRR
constexpr std::uint32_t kBlue = 0xFF0000;  // 0x00BBGGRR
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kGreen = 0x00FF00;

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
         (static_cast<std::uint32_t>(b[at + 2]) << 16) |
         (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

void Fill(QWidget& widget, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, colour);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

// A 30 x 20 window, blue, with a red 10 x 5 block at its top left corner.
class PaintedWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::EnsureQtApplication(); }

  void SetUp() override {
    window = std::make_unique<QWidget>();
    window->setWindowFlags(Qt::FramelessWindowHint);
    window->setFixedSize(30, 20);
    Fill(*window, Qt::blue);
    auto* block = new QWidget(window.get());
    block->setGeometry(0, 0, 10, 5);
    Fill(*block, Qt::red);
    window->show();
    ASSERT_TRUE(test::WaitUntil([this] { return window->isVisible(); }));
  }

  std::unique_ptr<QWidget> window;
};

TEST_F(PaintedWindow, CaptureWindowCopiesTheClientAreaAsBottomUpRows) {
  BitmapCanvas canvas;
  ASSERT_TRUE(CaptureWindow(canvas, window.get()));
  EXPECT_EQ(canvas.GetWidth(), 30);
  EXPECT_EQ(canvas.GetHeight(), 20);
  EXPECT_EQ(canvas.GetBitCount(), 24);
  EXPECT_EQ(canvas.ReadPixel(0, 0), kRed);
  EXPECT_EQ(canvas.ReadPixel(9, 4), kRed);
  EXPECT_EQ(canvas.ReadPixel(10, 4), kBlue);
  EXPECT_EQ(canvas.ReadPixel(9, 5), kBlue);
  EXPECT_EQ(canvas.ReadPixel(29, 19), kBlue);

  // 30 pixels x 3 bytes = 90, padded to 92 bytes per row.
  const Bytes bmp = canvas.GetBmpFile();
  ASSERT_EQ(bmp.size(), 54u + 92u * 20u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(Le32(bmp, 2), bmp.size());
  EXPECT_EQ(Le32(bmp, 10), 54u);
  EXPECT_EQ(Le32(bmp, 14), 40u);
  EXPECT_EQ(Le32(bmp, 18), 30u);
  EXPECT_EQ(Le32(bmp, 22), 20u);  // positive: bottom-up
  // The first stored row is the window's bottom row (blue), the last one its
  // top row, which starts with the red block. Pixels are blue, green, red.
  const std::size_t bottomRow = 54;
  const std::size_t topRow = 54 + 92 * 19;
  EXPECT_EQ(bmp[bottomRow], 0xFF);
  EXPECT_EQ(bmp[bottomRow + 2], 0x00);
  EXPECT_EQ(bmp[topRow], 0x00);
  EXPECT_EQ(bmp[topRow + 2], 0xFF);
  EXPECT_EQ(bmp[topRow + 3 * 10], 0xFF);  // x = 10 is blue again
  EXPECT_EQ(bmp[topRow + 3 * 10 + 2], 0x00);
  EXPECT_EQ(bmp[topRow + 90], 0x00);  // padding
  EXPECT_EQ(bmp[topRow + 91], 0x00);
}

TEST_F(PaintedWindow, CaptureWindowRegionCountsFromTheClientAreaCorner) {
  BitmapCanvas canvas;
  ASSERT_TRUE(CaptureWindow(canvas, window.get(), 5, 2, 10, 6, 32));
  EXPECT_EQ(canvas.GetWidth(), 10);
  EXPECT_EQ(canvas.GetHeight(), 6);
  EXPECT_EQ(canvas.ReadPixel(0, 0), kRed);   // window (5, 2)
  EXPECT_EQ(canvas.ReadPixel(4, 2), kRed);   // window (9, 4)
  EXPECT_EQ(canvas.ReadPixel(5, 0), kBlue);  // window (10, 2)
  EXPECT_EQ(canvas.ReadPixel(0, 3), kBlue);  // window (5, 5)
  EXPECT_EQ(canvas.GetBmpFile().size(), 54u + 4u * 10u * 6u);
}

TEST_F(PaintedWindow, CaptureWindowRefusesWhatCannotBeCopied) {
  struct Case {
    const char* name;
    int bitCount;
    bool hide;
    bool minimise;
  };
  const Case cases[] = {
      {"depth 2", 2, false, false},   {"depth 0", 0, false, false}, {"depth 33", 33, false, false},
      {"depth -1", -1, false, false}, {"hidden", 24, true, false},  {"minimised", 24, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.hide) window->hide();
    if (c.minimise) window->showMinimized();
    BitmapCanvas canvas;
    ASSERT_TRUE(canvas.CreateBlank(4, 4, 24));  // a failed capture drops it
    EXPECT_FALSE(CaptureWindow(canvas, window.get(), 0, 0, -1, -1, c.bitCount));
    EXPECT_TRUE(canvas.IsEmpty());
    EXPECT_EQ(canvas.GetBmpFile().size(), 14u);
    // An explicit region does not get round a hidden window either.
    EXPECT_FALSE(CaptureWindow(canvas, window.get(), 0, 0, 5, 5, c.bitCount));
    window->showNormal();
    ASSERT_TRUE(test::WaitUntil([this] { return window->isVisible() && !window->isMinimized(); }));
  }
}

TEST_F(PaintedWindow, ASourceWhoseWindowWentHasNothingToCopy) {
  WidgetPixelSource source(window.get());
  EXPECT_EQ(source.Width(), 30);
  window.reset();
  EXPECT_EQ(source.Width(), 0);
  EXPECT_EQ(source.Height(), 0);
  EXPECT_FALSE(source.Grab(0, 0, 4, 4).has_value());
  BitmapCanvas canvas;
  EXPECT_FALSE(canvas.LoadFromSource(source, 0, 0, 4, 4, 24));
  EXPECT_FALSE(CaptureWindow(canvas, nullptr));
  EXPECT_TRUE(canvas.IsEmpty());
}

class CanvasOperations : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::EnsureQtApplication(); }
};

// A 6 x 4 picture: left half red, right half green, one blue pixel at (5, 3).
QImage TwoColourImage() {
  QImage image(6, 4, QImage::Format_RGB32);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) image.setPixel(x, y, x < 3 ? qRgb(255, 0, 0) : qRgb(0, 255, 0));
  }
  image.setPixel(5, 3, qRgb(0, 0, 255));
  return image;
}

void ExpectTwoColourPixels(const BitmapCanvas& canvas) {
  ASSERT_EQ(canvas.GetWidth(), 6);
  ASSERT_EQ(canvas.GetHeight(), 4);
  EXPECT_EQ(canvas.ReadPixel(0, 0), kRed);
  EXPECT_EQ(canvas.ReadPixel(2, 3), kRed);
  EXPECT_EQ(canvas.ReadPixel(3, 0), kGreen);
  EXPECT_EQ(canvas.ReadPixel(5, 3), kBlue);
}

TEST_F(CanvasOperations, ClipboardRoundTripKeepsThePixels) {
  BitmapCanvas source;
  ASSERT_TRUE(LoadFromBitmapHandle(source, TwoColourImage(), 24));
  ASSERT_TRUE(CopyToClipboard(source));

  BitmapCanvas back;
  ASSERT_TRUE(LoadFromClipboard(back, 24));
  ExpectTwoColourPixels(back);
  EXPECT_EQ(back.GetBmpFile(), source.GetBmpFile());
}

TEST_F(CanvasOperations, ClipboardWithoutAPictureLoadsNothing) {
  QGuiApplication::clipboard()->setText(QStringLiteral("no picture here"));
  BitmapCanvas canvas;
  ASSERT_TRUE(canvas.CreateBlank(2, 2, 8));
  EXPECT_FALSE(LoadFromClipboard(canvas, 24));
  EXPECT_TRUE(canvas.IsEmpty());
}

TEST_F(CanvasOperations, CopyingAnEmptyCanvasLeavesTheClipboardAlone) {
  QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
  const BitmapCanvas empty;
  EXPECT_FALSE(CopyToClipboard(empty));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
}

TEST_F(CanvasOperations, IconAt32BitsGivesA4150ByteBmpDrawnOverWhite) {
  // Left half opaque green, right half transparent: the white background
  // must show through there.
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  {
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 8; ++x) image.setPixel(x, y, qRgba(0, 255, 0, 255));
    }
    pixmap = QPixmap::fromImage(image);
  }
  BitmapCanvas canvas;
  ASSERT_TRUE(LoadFromIcon(canvas, QIcon(pixmap)));
  const Bytes bmp = canvas.GetBmpFile();
  ASSERT_EQ(bmp.size(), 4150u);
  EXPECT_EQ(Le32(bmp, 2), 4150u);
  EXPECT_EQ(Le32(bmp, 10), 54u);
  EXPECT_EQ(Le32(bmp, 22), 32u);
  EXPECT_EQ(canvas.GetBitCount(), 32);
  EXPECT_EQ(canvas.ReadPixel(2, 2), kGreen);  // stretched to 32 x 32
  EXPECT_EQ(canvas.ReadPixel(13, 29), kGreen);
  EXPECT_EQ(canvas.ReadPixel(20, 2), kWhite);
  EXPECT_EQ(canvas.ReadPixel(31, 31), kWhite);
}

TEST_F(CanvasOperations, IconSizesAndDepths) {
  struct Case {
    int width;
    int height;
    int bitCount;
    bool loads;
    std::size_t bmpBytes;
  };
  const Case cases[] = {
      {32, 32, 32, true, 4150},      {30, 30, 32, true, 54 + 4 * 30 * 30},
      {10, 10, 1, true, 102},        {3, 1, 24, true, 54 + 12},
      {16, 16, 8, true, 1078 + 256}, {32, 32, 2, false, 14},
      {0, 32, 32, false, 14},        {32, -1, 32, false, 14},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "@" << c.bitCount);
    BitmapCanvas canvas;
    EXPECT_EQ(LoadFromIcon(canvas, QIcon(), c.width, c.height, c.bitCount), c.loads);
    EXPECT_EQ(canvas.GetBmpFile().size(), c.bmpBytes);
    if (c.loads) {
      EXPECT_EQ(canvas.ReadPixel(c.width - 1, c.height - 1), kWhite);
    }
  }
}

TEST_F(CanvasOperations, BitmapHandleTakesItsOwnDepthUnlessGivenOne) {
  struct Case {
    QImage::Format format;
    int bitCount;
    int expectedDepth;
  };
  const Case cases[] = {
      {QImage::Format_RGB888, kSourceBitDepth, 24},
      {QImage::Format_RGB32, kSourceBitDepth, 32},
      {QImage::Format_RGB555, kSourceBitDepth, 16},
      {QImage::Format_RGBA64, kSourceBitDepth, 32},  // not a canvas depth
      {QImage::Format_RGB32, 8, 8},
      {QImage::Format_RGB32, 4, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "format " << c.format << " depth " << c.bitCount);
    BitmapCanvas canvas;
    ASSERT_TRUE(
        LoadFromBitmapHandle(canvas, TwoColourImage().convertToFormat(c.format), c.bitCount));
    EXPECT_EQ(canvas.GetBitCount(), c.expectedDepth);
    ExpectTwoColourPixels(canvas);
  }
  BitmapCanvas canvas;
  EXPECT_FALSE(LoadFromBitmapHandle(canvas, QImage()));
  EXPECT_FALSE(LoadFromBitmapHandle(canvas, QPixmap()));
  EXPECT_FALSE(LoadFromBitmapHandle(canvas, TwoColourImage(), 2));
  EXPECT_TRUE(canvas.IsEmpty());
  ASSERT_TRUE(LoadFromBitmapHandle(canvas, QPixmap::fromImage(TwoColourImage()), 24));
  ExpectTwoColourPixels(canvas);
}

TEST_F(CanvasOperations, LoadFromFileKeepsTheFilesDepthAndPalette) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const int depth : {1, 4, 8, 16, 24, 32}) {
    SCOPED_TRACE(depth);
    BitmapCanvas original;
    ASSERT_TRUE(LoadFromBitmapHandle(original, TwoColourImage(), depth));
    const Bytes bmp = original.GetBmpFile();
    const QString path = dir.filePath(QStringLiteral("picture_%1.bmp").arg(depth));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bmp.data()), static_cast<qint64>(bmp.size()));
    file.close();

    BitmapCanvas loaded;
    ASSERT_TRUE(LoadFromFile(loaded, path));
    EXPECT_EQ(loaded.GetBitCount(), depth);
    EXPECT_EQ(loaded.GetBmpFile(), bmp);
  }
}

TEST_F(CanvasOperations, LoadFromBytesGoesThroughOneTemporaryFileAndRemovesIt) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  BitmapCanvas original;
  ASSERT_TRUE(LoadFromBitmapHandle(original, TwoColourImage(), 8));
  const Bytes bmp = original.GetBmpFile();
  const QString fixedName = dir.filePath(QStringLiteral("新位图操作类_载入位图.bmp"));

  BitmapCanvas loaded;
  ASSERT_TRUE(LoadFromBytes(loaded, bmp, dir.path()));
  EXPECT_EQ(loaded.GetBmpFile(), bmp);
  EXPECT_FALSE(QFile::exists(fixedName));

  // Bytes that are no .bmp leave the canvas empty and no file behind.
  EXPECT_FALSE(LoadFromBytes(loaded, Bytes{'B', 'M', 0x36}, dir.path()));
  EXPECT_TRUE(loaded.IsEmpty());
  EXPECT_FALSE(QFile::exists(fixedName));
  // A folder that cannot take the file: false.
  EXPECT_FALSE(LoadFromBytes(loaded, bmp, dir.filePath(QStringLiteral("missing/folder"))));
}

TEST_F(CanvasOperations, LoadFromFileRefusesMissingAndBrokenFiles) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString truncated = dir.filePath(QStringLiteral("truncated.bmp"));
  QFile file(truncated);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("BM\x36\x00\x00\x00", 6);
  file.close();
  for (const QString& path : {dir.filePath(QStringLiteral("missing.bmp")), truncated, dir.path()}) {
    SCOPED_TRACE(path.toStdString());
    BitmapCanvas canvas;
    ASSERT_TRUE(canvas.CreateBlank(2, 2, 24));
    EXPECT_FALSE(LoadFromFile(canvas, path));
    EXPECT_TRUE(canvas.IsEmpty());
  }
}

TEST_F(CanvasOperations, CaptureScreenCoversTheScreenAndRefusesOddDepths) {
  const QSize screen = QGuiApplication::primaryScreen()->size();
  BitmapCanvas canvas;
  ASSERT_TRUE(CaptureScreen(canvas, 0, 0, -1, -1, 24));
  EXPECT_EQ(canvas.GetWidth(), screen.width());
  EXPECT_EQ(canvas.GetHeight(), screen.height());

  ASSERT_TRUE(CaptureScreen(canvas, 10, 20));
  EXPECT_EQ(canvas.GetWidth(), screen.width() - 10);
  EXPECT_EQ(canvas.GetHeight(), screen.height() - 20);
  EXPECT_EQ(canvas.GetBitCount(), DisplayBitCount());

  ASSERT_TRUE(CaptureScreen(canvas, 0, 0, 7, 3, 8));
  EXPECT_EQ(canvas.GetWidth(), 7);
  EXPECT_EQ(canvas.GetBitCount(), 8);

  EXPECT_FALSE(CaptureScreen(canvas, 0, 0, 7, 3, 2));
  EXPECT_TRUE(canvas.IsEmpty());
  EXPECT_FALSE(CaptureScreen(canvas, screen.width(), 0));  // nothing right of the edge
  EXPECT_TRUE(canvas.IsEmpty());
}

TEST_F(CanvasOperations, DrawToWindowPaintsAtTheTopLeftCorner) {
  BitmapCanvas canvas;
  ASSERT_TRUE(LoadFromBitmapHandle(canvas, TwoColourImage(), 4));
  QImage target(10, 10, QImage::Format_RGB32);
  target.fill(Qt::white);
  ASSERT_TRUE(DrawToWindow(canvas, target));
  EXPECT_EQ(target.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(target.pixel(5, 3), qRgb(0, 0, 255));
  EXPECT_EQ(target.pixel(6, 0), qRgb(255, 255, 255));
  EXPECT_EQ(target.pixel(0, 4), qRgb(255, 255, 255));

  QLabel label;
  ASSERT_TRUE(DrawToWindow(canvas, &label));
  const QImage shown = label.pixmap().toImage();
  ASSERT_EQ(shown.size(), QSize(6, 4));
  EXPECT_EQ(shown.pixel(3, 0), qRgb(0, 255, 0));

  const BitmapCanvas empty;
  EXPECT_FALSE(DrawToWindow(empty, target));
  EXPECT_FALSE(DrawToWindow(empty, &label));
  EXPECT_FALSE(DrawToWindow(canvas, static_cast<QLabel*>(nullptr)));
}

}  // namespace
}  // namespace quillet
