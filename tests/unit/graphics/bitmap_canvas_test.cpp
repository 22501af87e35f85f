#include "core/graphics/bitmap_canvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <string>

#include "core/graphics/standard_palettes.h"

namespace quillet {
namespace {

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

Bytes ReadFixture(const std::string& name) {
  std::ifstream in(std::string(QUILLET_TEST_DATA_DIR) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in.good()) << name;
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// A drawing surface of the GUI stood in for by a computed picture: pixel
// (x, y) is blue x, green y, red x + y, alpha 200. Outside it reads black.
class GradientSource final : public PixelSource {
 public:
  GradientSource(int width, int height) : width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  std::optional<BgraImage> Grab(int x, int y, int width, int height) override {
    ++grabs;
    if (failing) return std::nullopt;
    BgraImage image{width, height, {}};
    for (int j = 0; j < height; ++j) {
      for (int i = 0; i < width; ++i) {
        const int sx = x + i, sy = y + j;
        const bool inside = sx >= 0 && sy >= 0 && sx < width_ && sy < height_;
        image.pixels.insert(image.pixels.end(), {static_cast<std::uint8_t>(inside ? sx : 0),
                                                 static_cast<std::uint8_t>(inside ? sy : 0),
                                                 static_cast<std::uint8_t>(inside ? sx + sy : 0),
                                                 static_cast<std::uint8_t>(inside ? 200 : 0)});
      }
    }
    return image;
  }
  static std::uint32_t Colour(int x, int y) {
    return static_cast<std::uint32_t>(((x + y) & 0xFF) | (y << 8) | (x << 16));
  }

  bool failing = false;
  int grabs = 0;

 private:
  int width_, height_;
};

struct LayoutCase {
  int width, height, bitCount;
  std::int64_t rowBytes;
  std::size_t paletteSize, pixelOffset, fileSize;
};

TEST(BitmapCanvasLayout, FileBytesForEveryDepth) {
  const LayoutCase cases[] = {
      {32, 32, 32, 128, 0, 54, 4150},  // an icon copied at 32 bits
      {30, 30, 32, 120, 0, 54, 3654},  // a quick-tools icon: 54 + 4 x 30 x 30
      {3, 1, 24, 12, 0, 54, 66},       // 9 bytes of pixels padded to 12
      {10, 10, 8, 12, 1024, 1078, 1198}, {10, 10, 4, 8, 64, 118, 198},
      {10, 10, 1, 4, 8, 62, 102},        {5, 3, 16, 12, 0, 54, 90},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + "x" +
                 std::to_string(c.bitCount));
    BitmapCanvas canvas;
    ASSERT_TRUE(canvas.CreateBlank(c.width, c.height, c.bitCount));
    EXPECT_EQ(canvas.GetRowBytes(), c.rowBytes);
    EXPECT_EQ(canvas.GetPaletteSize(), c.paletteSize);
    EXPECT_EQ(canvas.GetPixelDataAddress(), 40 + c.paletteSize);
    EXPECT_EQ(canvas.GetPixelDataSize(), static_cast<std::size_t>(c.rowBytes * c.height));
    EXPECT_EQ(canvas.GetPaletteAddress(), c.paletteSize ? 40u : 0u);

    const Bytes file = canvas.GetBmpFile();
    ASSERT_EQ(file.size(), c.fileSize);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Le32(file, 2), c.fileSize);
    EXPECT_EQ(Le32(file, 6), 0u);
    EXPECT_EQ(Le32(file, 10), c.pixelOffset);
    EXPECT_EQ(Le32(file, 14), 40u);
    EXPECT_EQ(Le32(file, 18), static_cast<std::uint32_t>(c.width));
    EXPECT_EQ(Le32(file, 22), static_cast<std::uint32_t>(c.height));  // positive: bottom-up
    EXPECT_EQ(file[26] | (file[27] << 8), 1);
    EXPECT_EQ(file[28] | (file[29] << 8), c.bitCount);
    const Bytes& palette = StandardPaletteForDepth(c.bitCount);
    EXPECT_EQ(Bytes(file.begin() + 54, file.begin() + 54 + static_cast<long>(c.paletteSize)),
              palette);
  }
}

TEST(BitmapCanvasLayout, AttachTakesAPackedDibAsItsImage) {
  for (const int depth : {1, 4, 8, 16, 24, 32}) {
    SCOPED_TRACE(depth);
    BitmapCanvas original;
    ASSERT_TRUE(original.CreateBlank(7, 3, depth));
    ASSERT_TRUE(original.WritePixel(2, 1, 0xFFFFFF));
    const Bytes file = original.GetBmpFile();
    const Bytes packed(file.begin() + 14, file.end());

    BitmapCanvas attached;
    ASSERT_TRUE(attached.Attach(packed));
    EXPECT_EQ(attached.GetBmpFile(), file);
    // A DIB cut short loses its image instead of being read past its end.
    EXPECT_FALSE(attached.Attach(Bytes(packed.begin(), packed.end() - 1)));
    EXPECT_TRUE(attached.IsEmpty());
  }
  BitmapCanvas canvas;
  EXPECT_FALSE(canvas.Attach(Bytes(39, 0)));
}

TEST(BitmapCanvasLayout, EmptyCanvasGivesOnlyTheFileHeader) {
  BitmapCanvas canvas;
  EXPECT_TRUE(canvas.IsEmpty());
  EXPECT_EQ(canvas.GetBmpFile(), (Bytes{'B', 'M', 14, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0}));
  EXPECT_EQ(canvas.GetWidth(), 0);
  EXPECT_EQ(canvas.GetHeight(), 0);
  EXPECT_EQ(canvas.GetBitCount(), 0);
  EXPECT_EQ(canvas.GetRowBytes(), 0);
  EXPECT_EQ(canvas.GetPixelDataSize(), 0u);
  EXPECT_EQ(canvas.GetPixelDataAddress(), 0u);
  EXPECT_EQ(canvas.GetPaletteSize(), 0u);
  EXPECT_TRUE(canvas.GetPixelData().empty());
  EXPECT_EQ(canvas.ReadPixel(0, 0), kInvalidColour);
  EXPECT_FALSE(canvas.WritePixel(0, 0, 0));
  EXPECT_FALSE(canvas.ConvertBitDepth(24));
  BitmapCanvas target;
  ASSERT_TRUE(target.CreateBlank(2, 2, 24));
  EXPECT_FALSE(canvas.DrawTo(target));
  EXPECT_FALSE(target.DrawTo(canvas));
}

TEST(BitmapCanvasLayout, PalettesAreTheStandardOnes) {
  BitmapCanvas canvas;
  EXPECT_EQ(canvas.Palette2(), StandardPalette2());
  EXPECT_EQ(canvas.Palette16(), StandardPalette16());
  EXPECT_EQ(canvas.Palette256(), StandardPalette256());
}

TEST(BitmapCanvasLayout, UnsupportedDepthsAndSizesAreRefused) {
  for (int depth : {0, 2, 3, 15, 31, 64}) {
    BitmapCanvas canvas;
    GradientSource source(8, 8);
    EXPECT_FALSE(canvas.LoadFromSource(source, 0, 0, 4, 4, depth)) << depth;
    EXPECT_TRUE(canvas.IsEmpty());
    EXPECT_EQ(canvas.GetBmpFile().size(), 14u);
    EXPECT_FALSE(canvas.CreateBlank(4, 4, depth)) << depth;
  }
  BitmapCanvas canvas;
  ASSERT_TRUE(canvas.CreateBlank(3, 3, 24));
  const Bytes before = canvas.DibBytes();
  EXPECT_FALSE(canvas.BuildImageHeader(3, 3, 2));
  EXPECT_FALSE(canvas.BuildImageHeader(-1, 3, 24));
  EXPECT_FALSE(canvas.BuildImageHeader(INT_MAX, INT_MAX, 32));  // beyond a 2 GiB file
  EXPECT_EQ(canvas.DibBytes(), before);
  EXPECT_FALSE(canvas.CreateBlank(0, 5, 24));
  EXPECT_FALSE(canvas.CreateBlank(5, -5, 24));
  EXPECT_FALSE(canvas.CreateBlank(65535, 65535, 32));
  EXPECT_TRUE(canvas.IsEmpty());
}

TEST(BitmapCanvasSource, CopiesARectangleAtThirtyTwoBits) {
  GradientSource source(64, 48);
  BitmapCanvas canvas;
  ASSERT_TRUE(canvas.LoadFromSource(source, 0, 0, 32, 32, 32));
  const Bytes file = canvas.GetBmpFile();
  ASSERT_EQ(file.size(), 4150u);
  EXPECT_EQ(Le32(file, 10), 54u);
  EXPECT_EQ(Le32(file, 22), 32u);
  // Bottom-up: the first stored row is the rectangle's last one, with alpha.
  EXPECT_EQ(Bytes(file.begin() + 54, file.begin() + 62), (Bytes{0, 31, 31, 200, 1, 31, 32, 200}));
  EXPECT_EQ(canvas.ReadPixel(5, 7), GradientSource::Colour(5, 7));
}

TEST(BitmapCanvasSource, RectangleOffsetAndEveryDepth) {
  GradientSource source(64, 48);
  for (int depth : {16, 24, 32}) {
    BitmapCanvas canvas;
    ASSERT_TRUE(canvas.LoadFromSource(source, 8, 8, 24, 16, depth)) << depth;
    EXPECT_EQ(canvas.GetWidth(), 16);
    EXPECT_EQ(canvas.GetHeight(), 8);
    // Channels below 32 that are multiples of 8 survive 5-bit channels unchanged.
    EXPECT_EQ(canvas.ReadPixel(0, 0), GradientSource::Colour(8, 8)) << depth;
    EXPECT_EQ(canvas.ReadPixel(8, 0), GradientSource::Colour(16, 8)) << depth;
  }
  for (int depth : {1, 4, 8}) {
    BitmapCanvas canvas;
    ASSERT_TRUE(canvas.LoadFromSource(source, 0, 0, 8, 8, depth)) << depth;
    EXPECT_EQ(canvas.ReadPixel(0, 0), 0u) << depth;  // black is in every palette
  }
}

TEST(BitmapCanvasSource, RefusesEmptyRectanglesAndFailingSources) {
  GradientSource source(16, 16);
  BitmapCanvas canvas;
  EXPECT_FALSE(canvas.LoadFromSource(source, 4, 4, 4, 10, 24));
  EXPECT_FALSE(canvas.LoadFromSource(source, 4, 4, 2, 10, 24));
  EXPECT_FALSE(canvas.LoadFromSource(source, INT_MIN, 0, INT_MAX, 1, 24));
  EXPECT_EQ(source.grabs, 0);
  source.failing = true;
  EXPECT_FALSE(canvas.LoadFromSource(source, 0, 0, 4, 4, 24));
  EXPECT_TRUE(canvas.IsEmpty());
}

TEST(BitmapCanvasSource, CaptureDefaultsReachTheSourceEdges) {
  GradientSource source(50, 40);
  BitmapCanvas canvas;
  ASSERT_TRUE(canvas.CaptureRegion(source, 10, 5, -1, -1, 24));
  EXPECT_EQ(canvas.GetWidth(), 40);
  EXPECT_EQ(canvas.GetHeight(), 35);
  EXPECT_EQ(canvas.ReadPixel(0, 0), GradientSource::Colour(10, 5));
  EXPECT_EQ(canvas.ReadPixel(39, 34), GradientSource::Colour(49, 39));

  GradientSource hidden(0, 0);  // a minimised or hidden window
  EXPECT_FALSE(canvas.CaptureRegion(hidden, 0, 0, -1, -1, 24));
  EXPECT_TRUE(canvas.IsEmpty());
  EXPECT_FALSE(canvas.CaptureRegion(source, 0, 0, -1, -1, 2));
}

TEST(BitmapCanvasSource, PixelBufferOfTheWrongLengthIsRefused) {
  BitmapCanvas canvas;
  BgraImage image{2, 2, Bytes(15, 0)};
  EXPECT_FALSE(canvas.LoadFromPixels(image, 32));
  image.pixels.resize(16);
  EXPECT_TRUE(canvas.LoadFromPixels(image, 32));
}

TEST(BitmapCanvasPixels, ReadBackPerDepth) {
  struct Case {
    int depth;
    std::uint32_t written, read;
  };
  const Case cases[] = {
      {32, 0x00123456, 0x00123456},
      {24, 0x00ABCDEF, 0x00ABCDEF},
      {16, 0x00FFFFFF, 0x00FFFFFF},
      {16, 0x000000FF, 0x000000FF},
      {16, 0x00123456, 0x00103152},  // 5 bits a channel, top bits
                                     // repeated below
      {8, 0x000000FF, 0x000000FF},
      {8, 0x00C0DCC0, 0x00C0DCC0},
      {8, 0x00FAFAFA, 0x00FFFFFF},
      {8, 0x00404040, 0x00404040},
      {4, 0x000000C8, 0x000000FF},
      {4, 0x00C0C0C0, 0x00C0C0C0},
      {4, 0x00700000, 0x00800000},
      {1, 0x00646464, 0x00000000},
      {1, 0x00C8C8C8, 0x00FFFFFF},
  };
  for (const Case& c : cases) {
    BitmapCanvas canvas;
    ASSERT_TRUE(canvas.CreateBlank(5, 3, c.depth));
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 5; ++x) {
        ASSERT_TRUE(canvas.WritePixel(x, y, c.written));
        EXPECT_EQ(canvas.ReadPixel(x, y), c.read)
            << "depth " << c.depth << " colour " << std::hex << c.written;
      }
    }
  }
}

TEST(BitmapCanvasPixels, NeighboursKeepTheirValues) {
  for (int depth : {1, 4, 8, 16, 24, 32}) {
    BitmapCanvas canvas;
    ASSERT_TRUE(canvas.CreateBlank(9, 4, depth));
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 9; ++x) canvas.WritePixel(x, y, (x + y) % 2 ? 0x00FFFFFF : 0);
    }
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 9; ++x) {
        EXPECT_EQ(canvas.ReadPixel(x, y), (x + y) % 2 ? 0x00FFFFFFu : 0u)
            << depth << " at " << x << "," << y;
      }
    }
  }
}

TEST(BitmapCanvasPixels, BytesLandBottomUpInTheRightPlace) {
  BitmapCanvas oneBit;
  ASSERT_TRUE(oneBit.CreateBlank(10, 10, 1));
  oneBit.WritePixel(0, 0, 0x00FFFFFF);
  oneBit.WritePixel(9, 9, 0x00FFFFFF);
  const Bytes& d1 = oneBit.DibBytes();
  EXPECT_EQ(d1[48 + 9 * 4], 0x80);  // top row stored last, leftmost pixel in the high bit
  EXPECT_EQ(d1[48 + 1], 0x40);      // (9, 9): first stored row, second byte

  BitmapCanvas fourBit;
  ASSERT_TRUE(fourBit.CreateBlank(3, 1, 4));
  fourBit.WritePixel(1, 0, 0x000000FF);  // red is entry 9 of the 16 colours
  EXPECT_EQ(fourBit.DibBytes()[40 + 64], 0x09);

  BitmapCanvas rgb;
  ASSERT_TRUE(rgb.CreateBlank(2, 2, 24));
  rgb.WritePixel(1, 1, 0x00112233);
  const Bytes& d24 = rgb.DibBytes();
  EXPECT_EQ(Bytes(d24.begin() + 43, d24.begin() + 46), (Bytes{0x11, 0x22, 0x33}));
}

TEST(BitmapCanvasPixels, OutsideTheImageIsRefused) {
  BitmapCanvas canvas;
  ASSERT_TRUE(canvas.CreateBlank(4, 3, 24));
  const int points[][2] = {{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {INT_MIN, 0}, {0, INT_MAX}};
  for (const auto& p : points) {
    EXPECT_EQ(canvas.ReadPixel(p[0], p[1]), kInvalidColour) << p[0] << "," << p[1];
    EXPECT_FALSE(canvas.WritePixel(p[0], p[1], 0x00FFFFFF));
  }
}

Bytes PatternFile(int depth) {
  BitmapCanvas canvas;
  EXPECT_TRUE(canvas.CreateBlank(7, 5, depth));
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) {
      canvas.WritePixel(x, y, static_cast<std::uint32_t>((x * 40) | (y * 60 << 8) | 0x800000));
    }
  }
  return canvas.GetBmpFile();
}

TEST(BitmapCanvasBmpBytes, RoundTripEveryDepth) {
  for (int depth : {1, 4, 8, 16, 24, 32}) {
    BitmapCanvas original;
    const Bytes file = PatternFile(depth);
    ASSERT_TRUE(original.LoadFromBmpBytes(file));
    EXPECT_EQ(original.GetBmpFile(), file) << depth;
    EXPECT_EQ(original.GetWidth(), 7);
    EXPECT_EQ(original.GetHeight(), 5);
    EXPECT_EQ(original.GetBitCount(), depth);
  }
}

TEST(BitmapCanvasBmpBytes, EveryTruncationIsRefused) {
  for (int depth : {1, 8, 24, 32}) {
    const Bytes file = PatternFile(depth);
    for (std::size_t n = 0; n < file.size(); ++n) {
      BitmapCanvas canvas;
      EXPECT_FALSE(
          canvas.LoadFromBmpBytes(Bytes(file.begin(), file.begin() + static_cast<long>(n))))
          << "depth " << depth << ", " << n << " of " << file.size() << " bytes";
      EXPECT_TRUE(canvas.IsEmpty());
    }
  }
}

TEST(BitmapCanvasBmpBytes, HostileFilesAreRefused) {
  const char* names[] = {
      "bmp_header_only.bmp",         "bmp_zero_width.bmp",      "bmp_zero_height.bmp",
      "bmp_unsupported_depth_2.bmp", "bmp_height_overflow.bmp", "bmp_rle8_compressed.bmp",
      "bmp_top_down_height.bmp",
  };
  for (const char* name : names) {
    BitmapCanvas canvas;
    ASSERT_TRUE(canvas.LoadFromBmpBytes(PatternFile(24)));
    EXPECT_FALSE(canvas.LoadFromBmpBytes(ReadFixture(name))) << name;
    EXPECT_TRUE(canvas.IsEmpty()) << name;  // the earlier image is gone too
    EXPECT_EQ(canvas.GetBmpFile().size(), 14u);
  }
}

TEST(BitmapCanvasBmpBytes, SizeComesFromTheLowSixteenBitsAndStaysConsistent) {
  BitmapCanvas canvas;
  ASSERT_TRUE(canvas.LoadFromBmpBytes(ReadFixture("bmp_width_upper_bits.bmp")));
  EXPECT_EQ(canvas.GetWidth(), 4);
  EXPECT_EQ(canvas.GetHeight(), 3);
  EXPECT_EQ(canvas.GetBmpFile().size(), 14 + canvas.DibBytes().size());
  EXPECT_EQ(canvas.ReadPixel(3, 2), 0x001E281Eu);  // red 30, green 40, blue 30
  EXPECT_EQ(canvas.ReadPixel(4, 0), kInvalidColour);
}

TEST(BitmapCanvasBmpBytes, RowsAreTakenFromTheEndBehindALongerHeader) {
  BitmapCanvas canvas;
  ASSERT_TRUE(canvas.LoadFromBmpBytes(ReadFixture("bmp_long_info_header.bmp")));
  EXPECT_EQ(canvas.ReadPixel(0, 0), 0x000000FFu);
  EXPECT_EQ(canvas.ReadPixel(1, 0), 0x0000FF00u);
  EXPECT_EQ(canvas.ReadPixel(0, 1), 0x00FF0000u);
  EXPECT_EQ(canvas.ReadPixel(1, 1), 0x00FFFFFFu);
  EXPECT_EQ(canvas.GetBmpFile().size(), 14u + 40u + 16u);
}

TEST(BitmapCanvasBmpBytes, AFilesOwnPaletteIsKept) {
  BitmapCanvas canvas;
  ASSERT_TRUE(canvas.LoadFromBmpBytes(ReadFixture("bmp_custom_palette_8bit.bmp")));
  const std::uint32_t topRow[] = {0x000000FF, 0x0000FF00, 0x00FF0000, 0x00646464};
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(canvas.ReadPixel(x, 0), topRow[x]) << x;
    EXPECT_EQ(canvas.ReadPixel(x, 1), topRow[3 - x]) << x;
  }
  // Writing picks from the image's own palette.
  ASSERT_TRUE(canvas.WritePixel(0, 0, 0x00606060));
  EXPECT_EQ(canvas.ReadPixel(0, 0), 0x00646464u);
}

TEST(BitmapCanvasConvert, ToEveryDepth) {
  struct Case {
    int to;
    std::uint32_t colour, expected;
  };
  const Case cases[] = {
      {32, 0x00ABCDEF, 0x00ABCDEF}, {24, 0x00ABCDEF, 0x00ABCDEF}, {16, 0x00123456, 0x00103152},
      {8, 0x00FF00FF, 0x00FF00FF},  {8, 0x00F0FBFF, 0x00F0FBFF},  {4, 0x00808000, 0x00808000},
      {4, 0x00FE0101, 0x00FF0000},  {1, 0x00F0F0F0, 0x00FFFFFF},  {1, 0x00101010, 0x00000000},
  };
  for (const Case& c : cases) {
    BitmapCanvas canvas;
    ASSERT_TRUE(canvas.CreateBlank(6, 2, 24));
    for (int x = 0; x < 6; ++x) canvas.WritePixel(x, 1, c.colour);
    ASSERT_TRUE(canvas.ConvertBitDepth(c.to));
    EXPECT_EQ(canvas.GetBitCount(), c.to);
    EXPECT_EQ(canvas.GetWidth(), 6);
    EXPECT_EQ(canvas.GetBmpFile().size(),
              54 + 4 * static_cast<std::size_t>(PaletteEntriesForDepth(c.to)) +
                  2 * static_cast<std::size_t>(RowBytesFor(6 * c.to)));
    EXPECT_EQ(canvas.ReadPixel(5, 1), c.expected) << c.to << " " << std::hex << c.colour;
    EXPECT_EQ(canvas.ReadPixel(0, 0), 0u);
  }
  BitmapCanvas canvas;
  ASSERT_TRUE(canvas.CreateBlank(2, 2, 8));
  const Bytes before = canvas.DibBytes();
  EXPECT_FALSE(canvas.ConvertBitDepth(2));
  EXPECT_EQ(canvas.DibBytes(), before);
}

TEST(BitmapCanvasConvert, PaletteDepthFallsBackToTheStandardPalette) {
  BitmapCanvas canvas;
  ASSERT_TRUE(canvas.LoadFromBmpBytes(ReadFixture("bmp_custom_palette_8bit.bmp")));
  ASSERT_TRUE(canvas.ConvertBitDepth(8));
  EXPECT_EQ(Bytes(canvas.DibBytes().begin() + 40, canvas.DibBytes().begin() + 1064),
            StandardPalette256());
  EXPECT_EQ(canvas.ReadPixel(0, 0), 0x000000FFu);  // pure red exists in both
}

TEST(BitmapCanvasDraw, CopiesAClippedBlock) {
  BitmapCanvas source, target;
  ASSERT_TRUE(source.CreateBlank(4, 4, 24));
  ASSERT_TRUE(target.CreateBlank(8, 8, 24));
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) source.WritePixel(x, y, static_cast<std::uint32_t>(x + 10 * y + 1));
  }
  ASSERT_TRUE(source.DrawTo(target, 0, 0, -1, -1, 6, 6));
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const std::uint32_t expected =
          (x >= 6 && y >= 6) ? static_cast<std::uint32_t>((x - 6) + 10 * (y - 6) + 1) : 0u;
      EXPECT_EQ(target.ReadPixel(x, y), expected) << x << "," << y;
    }
  }
  BitmapCanvas second;
  ASSERT_TRUE(second.CreateBlank(3, 3, 24));
  ASSERT_TRUE(source.DrawTo(second, -1, 2, 3, 3, 0, 0));
  EXPECT_EQ(second.ReadPixel(0, 0), 0u);  // came from outside the source
  EXPECT_EQ(second.ReadPixel(1, 0), 21u);
  EXPECT_EQ(second.ReadPixel(2, 1), 32u);
  EXPECT_EQ(second.ReadPixel(2, 2), 0u);
  EXPECT_TRUE(source.DrawTo(second, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MIN, INT_MIN));
}

TEST(BitmapCanvasDraw, ConvertsBetweenDepthsAndHandlesOverlap) {
  BitmapCanvas source, target;
  ASSERT_TRUE(source.CreateBlank(2, 1, 24));
  source.WritePixel(0, 0, 0x000000FE);
  source.WritePixel(1, 0, 0x00FFFFFF);
  ASSERT_TRUE(target.CreateBlank(2, 1, 4));
  ASSERT_TRUE(source.DrawTo(target));
  EXPECT_EQ(target.ReadPixel(0, 0), 0x000000FFu);
  EXPECT_EQ(target.ReadPixel(1, 0), 0x00FFFFFFu);

  BitmapCanvas row;
  ASSERT_TRUE(row.CreateBlank(5, 1, 8));
  for (int x = 0; x < 5; ++x) row.WritePixel(x, 0, x == 0 ? 0x000000FFu : 0u);
  ASSERT_TRUE(row.DrawTo(row, 0, 0, 4, 1, 1, 0));  // shift right by one, as a blit would
  EXPECT_EQ(row.ReadPixel(0, 0), 0x000000FFu);
  EXPECT_EQ(row.ReadPixel(1, 0), 0x000000FFu);
  EXPECT_EQ(row.ReadPixel(2, 0), 0u);
}

}  // namespace
}  // namespace quillet
