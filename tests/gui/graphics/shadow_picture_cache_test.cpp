#include "gui/graphics/shadow_picture_cache.h"

#include <gtest/gtest.h>

#include <QBuffer>

#include "core/graphics/shadow_pictures.h"
#include "core/settings/settings.h"
#include "gui/app_state.h"
#include "gui/graphics/qt_image_decoder.h"
#include "qt_test_environment.h"

namespace quillet {
namespace {

class ShadowPictureCache : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::EnsureQtApplication(); }
  AppState state{BuildSettings(), AccountServices{}};
};

TEST_F(ShadowPictureCache, StateStartsWithoutPictures) {
  EXPECT_EQ(state.shadowImageSmall.GetImageHandle(), nullptr);
  EXPECT_EQ(state.shadowImageLarge.GetImageHandle(), nullptr);
}

TEST_F(ShadowPictureCache, EachPictureIsDecodedOnceIntoTheState) {
  struct Case {
    GdipImage* holder;
    int size;
  };
  const Case cases[] = {{&state.shadowImageSmall, 5}, {&state.shadowImageLarge, 10}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    const QImage* first = ShadowPictureFrom(*c.holder, c.size);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(c.holder->GetImageHandle() != nullptr, true);
    EXPECT_EQ(c.holder->GetWidth(), kShadowPictureSide);
    EXPECT_EQ(c.holder->GetHeight(), kShadowPictureSide);
    // The same decoded picture comes back: nothing is decoded again.
    EXPECT_EQ(ShadowPictureFrom(*c.holder, c.size), first);

    // The decoded alpha is the stored picture's, pixel for pixel.
    const std::vector<std::uint8_t> alpha = ShadowPictureAlpha(c.size);
    const QImage argb = first->convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < kShadowPictureSide; ++y) {
      for (int x = 0; x < kShadowPictureSide; ++x) {
        const QRgb p = argb.pixel(x, y);
        ASSERT_EQ(qAlpha(p), alpha[static_cast<std::size_t>(y) * kShadowPictureSide + x])
            << x << "," << y;
        ASSERT_EQ(qRed(p) | qGreen(p) | qBlue(p), 0) << x << "," << y;
      }
    }
  }
  // Small and large are different pictures.
  EXPECT_NE(*DecodedQImage(state.shadowImageSmall), *DecodedQImage(state.shadowImageLarge));
}

TEST_F(ShadowPictureCache, APictureAlreadyHeldIsKept) {
  // Whatever the holder has is what is drawn; the stored bytes are only the
  // fallback for an empty holder.
  QImage other(3, 2, QImage::Format_ARGB32);
  other.fill(Qt::red);
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(other.save(&buffer, "PNG"));
  ASSERT_TRUE(state.shadowImageSmall.LoadFromBytes(Bytes(data.begin(), data.end())));
  const QImage* picture = ShadowPictureFrom(state.shadowImageSmall, 5);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->size(), QSize(3, 2));
}

TEST_F(ShadowPictureCache, SizesWithoutAStoredPictureGiveNothing) {
  for (const int size : {0, 1, 4, 6, 11, -5}) {
    SCOPED_TRACE(size);
    GdipImage holder(QtImageDecoderInstance());
    EXPECT_EQ(ShadowPictureFrom(holder, size), nullptr);
    EXPECT_EQ(holder.GetImageHandle(), nullptr);
  }
}

TEST_F(ShadowPictureCache, ReleaseGlobalsReleasesBothPictures) {
  ASSERT_NE(ShadowPictureFrom(state.shadowImageSmall, 5), nullptr);
  ASSERT_NE(ShadowPictureFrom(state.shadowImageLarge, 10), nullptr);
  ReleaseGlobals(state);
  EXPECT_EQ(state.shadowImageSmall.GetImageHandle(), nullptr);
  EXPECT_EQ(state.shadowImageLarge.GetImageHandle(), nullptr);
  EXPECT_EQ(state.shadowImageSmall.GetWidth(), 0);
  // Used again after the release, the picture comes back.
  ASSERT_NE(ShadowPictureFrom(state.shadowImageSmall, 5), nullptr);
}

}  // namespace
}  // namespace quillet
