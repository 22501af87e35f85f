#include "core/graphics/dib_layout.h"

#include <gtest/gtest.h>

#include "core/graphics/standard_palettes.h"

namespace quillet {
namespace {

TEST(RowBytesFor, PadsEveryRowToFourBytes) {
  struct Case {
    std::int64_t bits;
    std::int64_t bytes;
  };
  const Case cases[] = {{0, 0},   {1, 4},      {10, 4},
                        {32, 4},  {33, 8},     {72, 12},
                        {80, 12}, {1024, 128}, {65535LL * 32, 262140},
                        {-5, 0}};
  for (const Case& c : cases) EXPECT_EQ(RowBytesFor(c.bits), c.bytes) << c.bits << " bits";
}

TEST(PaletteEntryCount, FollowsTheBitsPerPixelField) {
  struct Case {
    int bitCount;
    int entries;
  };
  const Case cases[] = {{1, 2}, {4, 16}, {8, 256}, {16, 0}, {24, 0}, {32, 0}, {2, 0}, {0, 0}};
  for (const Case& c : cases) {
    InfoHeader header;
    header.bitCount = static_cast<std::uint16_t>(c.bitCount);
    EXPECT_EQ(PaletteEntryCount(InfoHeaderToBytes(header)), c.entries) << c.bitCount;
  }
  EXPECT_EQ(PaletteEntryCount(Bytes(39, 8)), 0);
}

TEST(InfoHeaderToBytes, LaysOutElevenLittleEndianFields) {
  InfoHeader header;
  header.width = 0x01020304;
  header.height = 32;
  header.bitCount = 24;
  header.coloursImportant = 0xA1B2C3D4;
  const Bytes b = InfoHeaderToBytes(header);
  ASSERT_EQ(b.size(), 40u);
  const Bytes expectedStart = {40, 0, 0, 0, 4, 3, 2, 1, 32, 0, 0, 0, 1, 0, 24, 0};
  EXPECT_EQ(Bytes(b.begin(), b.begin() + 16), expectedStart);
  EXPECT_EQ(Bytes(b.begin() + 36, b.end()), (Bytes{0xD4, 0xC3, 0xB2, 0xA1}));
  for (int i = 16; i < 36; ++i) EXPECT_EQ(b[i], 0) << "offset " << i;

  const InfoHeader back = InfoHeaderFromBytes(b);
  EXPECT_EQ(back.width, header.width);
  EXPECT_EQ(back.height, 32);
  EXPECT_EQ(back.bitCount, 24);
  EXPECT_EQ(back.coloursImportant, header.coloursImportant);
}

TEST(FileHeaderToBytes, LaysOutTypeSizeReservedAndOffset) {
  FileHeader header;
  header.fileSize = 4150;
  header.pixelOffset = 54;
  EXPECT_EQ(FileHeaderToBytes(header),
            (Bytes{'B', 'M', 0x36, 0x10, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0}));
}

TEST(StandardPalettes, TwoAndSixteenColours) {
  EXPECT_EQ(StandardPalette2(), (Bytes{0, 0, 0, 0, 255, 255, 255, 0}));
  // Red, green, blue triples; the palette stores blue, green, red, 0.
  const int rgb[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                          {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
                          {192, 192, 192}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                          {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
  const Bytes& p = StandardPalette16();
  ASSERT_EQ(p.size(), 64u);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(p[4 * i + 2], rgb[i][0]) << i;
    EXPECT_EQ(p[4 * i + 1], rgb[i][1]) << i;
    EXPECT_EQ(p[4 * i + 0], rgb[i][2]) << i;
    EXPECT_EQ(p[4 * i + 3], 0) << i;
  }
}

TEST(StandardPalettes, TwoHundredFiftySixColours) {
  const Bytes& p = StandardPalette256();
  ASSERT_EQ(p.size(), 1024u);
  struct Entry {
    int index, r, g, b;
  };
  const Entry entries[] = {{0, 0, 0, 0},         {1, 128, 0, 0},       {7, 192, 192, 192},
                           {8, 192, 220, 192},   {9, 166, 202, 240},   {10, 64, 32, 0},
                           {11, 96, 32, 0},      {16, 0, 64, 0},       {100, 128, 128, 64},
                           {200, 0, 32, 192},    {245, 160, 192, 192}, {246, 255, 251, 240},
                           {247, 160, 160, 164}, {248, 128, 128, 128}, {249, 255, 0, 0},
                           {250, 0, 255, 0},     {251, 255, 255, 0},   {252, 0, 0, 255},
                           {253, 255, 0, 255},   {254, 0, 255, 255},   {255, 255, 255, 255}};
  for (const Entry& e : entries) {
    EXPECT_EQ(p[4 * e.index + 2], e.r) << e.index;
    EXPECT_EQ(p[4 * e.index + 1], e.g) << e.index;
    EXPECT_EQ(p[4 * e.index + 0], e.b) << e.index;
  }
  for (int i = 0; i < 256; ++i) EXPECT_EQ(p[4 * i + 3], 0) << i;
}

}  // namespace
}  // namespace quillet
