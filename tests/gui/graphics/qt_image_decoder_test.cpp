#include "gui/graphics/qt_image_decoder.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "core/graphics/gdip_image.h"
#include "qt_test_environment.h"

namespace quillet {
namespace {

class QtImageDecoderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::EnsureQtApplication(); }
};

Bytes Encoded(int width, int height, const char* format, QRgb colour) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(colour);
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return Bytes(data.begin(), data.end());
}

TEST_F(QtImageDecoderTest, RefusesShortAndUnreadableBytes) {
  const Bytes png = Encoded(7, 3, "PNG", qRgba(1, 2, 3, 255));
  const Bytes cases[] = {
      {},
      {0x89, 'P', 'N', 'G'},                 // 4 bytes
      Bytes(png.begin(), png.begin() + 5),   // a signature only
      Bytes(png.begin(), png.begin() + 40),  // cut in the header
      Bytes(200, 0xAB),                      // no format at all
  };
  for (const Bytes& bytes : cases) {
    SCOPED_TRACE(bytes.size());
    GdipImage image(QtImageDecoderInstance());
    ASSERT_TRUE(image.LoadFromBytes(png));  // the failed load drops it
    EXPECT_FALSE(image.LoadFromBytes(bytes));
    EXPECT_EQ(image.GetImageHandle(), nullptr);
    EXPECT_EQ(DecodedQImage(image), nullptr);
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_EQ(image.GetHeight(), 0);
  }
}

TEST_F(QtImageDecoderTest, ReadsPicturesAndGivesThemForDrawing) {
  struct Case {
    const char* format;
    int width;
    int height;
  };
  const Case cases[] = {{"PNG", 7, 3}, {"BMP", 5, 9}, {"PNG", 1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    GdipImage image(QtImageDecoderInstance());
    ASSERT_TRUE(image.LoadFromBytes(Encoded(c.width, c.height, c.format, qRgb(10, 200, 30))));
    EXPECT_EQ(image.GetWidth(), c.width);
    EXPECT_EQ(image.GetHeight(), c.height);
    const QImage* drawable = DecodedQImage(image);
    ASSERT_NE(drawable, nullptr);
    EXPECT_EQ(drawable->size(), QSize(c.width, c.height));
    EXPECT_EQ(drawable->pixel(c.width - 1, c.height - 1), qRgb(10, 200, 30));
  }
}

TEST_F(QtImageDecoderTest, LoadingAgainReplacesThePicture) {
  GdipImage image(QtImageDecoderInstance());
  ASSERT_TRUE(image.LoadFromBytes(Encoded(7, 3, "PNG", qRgb(0, 0, 0))));
  EXPECT_EQ(image.GetWidth(), 7);
  ASSERT_TRUE(image.LoadFromBytes(Encoded(4, 11, "PNG", qRgb(0, 0, 0))));
  EXPECT_EQ(image.GetWidth(), 4);
  EXPECT_EQ(image.GetHeight(), 11);
  image.Release();
  EXPECT_EQ(DecodedQImage(image), nullptr);
}

}  // namespace
}  // namespace quillet
