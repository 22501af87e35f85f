#include "core/graphics/shadow_pictures.h"

#include <gtest/gtest.h>

#include "core/graphics/gdip_image.h"
#include "core/graphics/png_writer.h"
#include "png_test_reader.h"

namespace quillet {
namespace {

constexpr int kSide = kShadowPictureSide;

class ShadowPicture {
 public:
  explicit ShadowPicture(int size) : alpha_(ShadowPictureAlpha(size)) {}
  bool Valid() const { return alpha_.size() == static_cast<std::size_t>(kSide * kSide); }
  int At(int x, int y) const { return alpha_[static_cast<std::size_t>(y * kSide + x)]; }

 private:
  std::vector<std::uint8_t> alpha_;
};

TEST(ShadowPicture5, EdgesCarryTheRampAlongTheirWholeLength) {
  ShadowPicture p(5);
  ASSERT_TRUE(p.Valid());
  for (int along = 11; along <= kSide - 12; ++along) {
    for (int depth = 0; depth < 5; ++depth) {
      const int ramp = kShadowRamp5[depth];
      EXPECT_EQ(p.At(along, depth), ramp) << "top " << along << "," << depth;
      EXPECT_EQ(p.At(along, kSide - 1 - depth), ramp) << "bottom " << along;
      EXPECT_EQ(p.At(depth, along), ramp) << "left " << along;
      EXPECT_EQ(p.At(kSide - 1 - depth, along), ramp) << "right " << along;
    }
  }
  EXPECT_EQ(kShadowRamp5, (std::array<std::uint8_t, 5>{15, 31, 53, 79, 111}));
}

TEST(ShadowPicture5, EveryCornerIsTheTableMirrored) {
  ShadowPicture p(5);
  ASSERT_TRUE(p.Valid());
  const int table[5][11] = {
      {0, 0, 0, 0, 3, 6, 9, 12, 13, 14, 15},          {0, 0, 1, 7, 11, 16, 21, 25, 28, 30, 31},
      {0, 1, 8, 14, 21, 29, 37, 43, 47, 50, 52},      {0, 7, 14, 23, 34, 46, 57, 65, 72, 76, 78},
      {2, 11, 21, 34, 50, 66, 81, 93, 102, 107, 110},
  };
  const int last = kSide - 1;
  for (int row = 0; row < 5; ++row) {
    for (int col = 0; col < 11; ++col) {
      const int a = table[row][col];
      EXPECT_EQ(p.At(col, row), a) << "top left " << row << "," << col;
      EXPECT_EQ(p.At(last - col, row), a) << "top right " << row << "," << col;
      EXPECT_EQ(p.At(col, last - row), a) << "bottom left " << row << "," << col;
      EXPECT_EQ(p.At(last - col, last - row), a) << "bottom right " << row << "," << col;
      if (col >= 5) {
        EXPECT_EQ(p.At(row, col), a) << "left edge near the corner";
      }
    }
  }
}

TEST(ShadowPicture5, MiddleIsTransparent) {
  ShadowPicture p(5);
  for (int y = 5; y < kSide - 5; ++y) {
    for (int x = 5; x < kSide - 5; ++x) ASSERT_EQ(p.At(x, y), 0) << x << "," << y;
  }
}

TEST(ShadowPicture10, EdgesCarryTheRampWithTheLighterInnerBottomAndRight) {
  ShadowPicture p(10);
  ASSERT_TRUE(p.Valid());
  const int topLeft[10] = {11, 19, 28, 40, 53, 68, 85, 105, 122, 137};
  const int bottomRight[10] = {11, 19, 28, 40, 53, 68, 85, 105, 122, 124};
  for (int along = 20; along < kSide - 20; ++along) {
    for (int depth = 0; depth < 10; ++depth) {
      EXPECT_EQ(p.At(along, depth), topLeft[depth]) << "top " << along;
      EXPECT_EQ(p.At(depth, along), topLeft[depth]) << "left " << along;
      EXPECT_EQ(p.At(along, kSide - 1 - depth), bottomRight[depth]) << "bottom " << along;
      EXPECT_EQ(p.At(kSide - 1 - depth, along), bottomRight[depth]) << "right " << along;
    }
    for (int depth = 10; depth < kSide - 10; ++depth) EXPECT_EQ(p.At(along, depth), 0);
  }
}

TEST(ShadowPicture10, CornersFadeOutAndStayWithinTheRamp) {
  ShadowPicture p(10);
  const int last = kSide - 1;
  EXPECT_EQ(p.At(0, 0), 0);
  EXPECT_EQ(p.At(last, 0), 0);
  EXPECT_EQ(p.At(0, last), 0);
  EXPECT_EQ(p.At(last, last), 0);
  for (int row = 0; row < 20; ++row) {
    for (int col = 0; col < 20; ++col) {
      EXPECT_LE(p.At(col, row), 137);
      EXPECT_EQ(p.At(col, row), p.At(row, col)) << "top left symmetric about its diagonal";
      EXPECT_EQ(p.At(last - col, last - row), p.At(last - row, last - col)) << "bottom right";
      // Where the top edge's ramp rules, the top right corner mirrors the top left.
      if (row <= col) {
        EXPECT_EQ(p.At(col, row), p.At(last - col, row)) << "top right mirrors";
      }
    }
    // Along the outer row the alpha grows towards the straight edge.
    if (row == 0) {
      for (int col = 1; col < 20; ++col) EXPECT_GE(p.At(col, 0), p.At(col - 1, 0));
    }
  }
  // The rounded corner leaves the inner corner of the 20 x 20 slice clear.
  EXPECT_EQ(p.At(15, 15), 0);
  EXPECT_GT(p.At(7, 7), 0);
}

TEST(ShadowPictures, OnlySizesFiveAndTenAreStored) {
  for (int size : {0, 1, 4, 6, 9, 11, -5}) {
    EXPECT_TRUE(ShadowPictureAlpha(size).empty()) << size;
    EXPECT_TRUE(ShadowPicturePng(size).empty()) << size;
  }
}

TEST(ShadowPictures, PngDecodesToBlackWithTheAlpha) {
  for (int size : {5, 10}) {
    const Bytes png = ShadowPicturePng(size);
    const std::optional<test::PngImage> image = test::ReadPng(png);
    ASSERT_TRUE(image.has_value()) << size;
    EXPECT_EQ(image->width, 100);
    EXPECT_EQ(image->height, 100);
    EXPECT_EQ(image->bitDepth, 8);
    EXPECT_EQ(image->colourType, 6);
    const std::vector<std::uint8_t> alpha = ShadowPictureAlpha(size);
    ASSERT_EQ(image->rgba.size(), alpha.size() * 4);
    for (std::size_t i = 0; i < alpha.size(); ++i) {
      ASSERT_EQ(image->rgba[4 * i + 3], alpha[i]) << i;
      ASSERT_EQ(image->rgba[4 * i] | image->rgba[4 * i + 1] | image->rgba[4 * i + 2], 0) << i;
    }
  }
}

TEST(PngWriter, PixelsSurviveAndBadInputGivesNothing) {
  Bytes rgba;
  for (int i = 0; i < 3 * 2 * 4; ++i) rgba.push_back(static_cast<std::uint8_t>(i * 10));
  const std::optional<test::PngImage> image = test::ReadPng(EncodePngRgba(3, 2, rgba));
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->rgba, rgba);
  EXPECT_TRUE(EncodePngRgba(3, 2, Bytes(23)).empty());
  EXPECT_TRUE(EncodePngRgba(0, 2, {}).empty());
  EXPECT_TRUE(EncodePngRgba(-3, -2, Bytes(24)).empty());
}

TEST(GdipImage, LoadsAPictureAndKeepsItsSize) {
  test::PngTestDecoder decoder;
  GdipImage image(decoder);
  EXPECT_EQ(image.GetImageHandle(), nullptr);
  EXPECT_EQ(image.GetWidth(), 0);
  ASSERT_TRUE(image.LoadFromBytes(ShadowPicturePng(5)));
  EXPECT_NE(image.GetImageHandle(), nullptr);
  EXPECT_EQ(image.GetWidth(), 100);
  EXPECT_EQ(image.GetHeight(), 100);

  const Bytes png = ShadowPicturePng(10);
  EXPECT_FALSE(image.LoadFromBytes(Bytes(png.begin(), png.begin() + 4)));
  EXPECT_EQ(image.GetImageHandle(), nullptr);  // the earlier picture is released
  EXPECT_EQ(image.GetWidth(), 0);
  EXPECT_FALSE(image.LoadFromBytes(Bytes(png.begin(), png.begin() + 60)));
  EXPECT_FALSE(image.LoadFromBytes({}));
  EXPECT_TRUE(image.LoadFromBytes(EncodePngRgba(7, 3, Bytes(84))));
  EXPECT_EQ(image.GetWidth(), 7);
  EXPECT_EQ(image.GetHeight(), 3);
  image.Release();
  EXPECT_EQ(image.GetImageHandle(), nullptr);
  EXPECT_EQ(image.GetHeight(), 0);
}

// A decoder whose pictures report no size, as a broken codec might.
class SizelessDecoder final : public ImageDecoder {
  struct Sizeless final : DecodedImage {
    int Width() const override { return 0; }
    int Height() const override { return 5; }
  };

 public:
  std::unique_ptr<DecodedImage> Decode(const Bytes&) const override {
    return std::make_unique<Sizeless>();
  }
};

TEST(GdipImage, APictureWithoutSizeIsReleased) {
  SizelessDecoder decoder;
  GdipImage image(decoder);
  ASSERT_TRUE(image.LoadFromBytes(Bytes(5, 1)));
  EXPECT_EQ(image.GetHeight(), 0);
  EXPECT_EQ(image.GetImageHandle(), nullptr);
}

}  // namespace
}  // namespace quillet
