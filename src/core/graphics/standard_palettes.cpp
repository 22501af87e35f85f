#include "core/graphics/standard_palettes.h"

#include <array>

namespace quillet {
namespace {

struct Rgb {
  std::uint8_t r, g, b;
};

void Append(Bytes& out, Rgb c) { out.insert(out.end(), {c.b, c.g, c.r, 0}); }

// The sixteen colours of the classic display: eight dark ones, light grey,
// then the eight bright ones with white last.
constexpr std::array<Rgb, 16> kSixteen{{{0, 0, 0},
                                        {128, 0, 0},
                                        {0, 128, 0},
                                        {128, 128, 0},
                                        {0, 0, 128},
                                        {128, 0, 128},
                                        {0, 128, 128},
                                        {128, 128, 128},
                                        {192, 192, 192},
                                        {255, 0, 0},
                                        {0, 255, 0},
                                        {255, 255, 0},
                                        {0, 0, 255},
                                        {255, 0, 255},
                                        {0, 255, 255},
                                        {255, 255, 255}}};

// The twenty reserved system colours at both ends of the 256-entry palette.
constexpr std::array<Rgb, 10> kFirstTen{{{0, 0, 0},
                                         {128, 0, 0},
                                         {0, 128, 0},
                                         {128, 128, 0},
                                         {0, 0, 128},
                                         {128, 0, 128},
                                         {0, 128, 128},
                                         {192, 192, 192},
                                         {192, 220, 192},
                                         {166, 202, 240}}};
constexpr std::array<Rgb, 10> kLastTen{{{255, 251, 240},
                                        {160, 160, 164},
                                        {128, 128, 128},
                                        {255, 0, 0},
                                        {0, 255, 0},
                                        {255, 255, 0},
                                        {0, 0, 255},
                                        {255, 0, 255},
                                        {0, 255, 255},
                                        {255, 255, 255}}};

Bytes Build2() {
  Bytes out;
  Append(out, {0, 0, 0});
  Append(out, {255, 255, 255});
  return out;
}

Bytes Build16() {
  Bytes out;
  for (Rgb c : kSixteen) Append(out, c);
  return out;
}

Bytes Build256() {
  Bytes out;
  for (Rgb c : kFirstTen) Append(out, c);
  for (int i = 10; i <= 245; ++i) {
    Append(out,
           {static_cast<std::uint8_t>((i % 8) * 32), static_cast<std::uint8_t>(((i / 8) % 8) * 32),
            static_cast<std::uint8_t>((i / 64) * 64)});
  }
  for (Rgb c : kLastTen) Append(out, c);
  return out;
}

}  // namespace

const Bytes& StandardPalette2() {
  static const Bytes palette = Build2();
  return palette;
}

const Bytes& StandardPalette16() {
  static const Bytes palette = Build16();
  return palette;
}

const Bytes& StandardPalette256() {
  static const Bytes palette = Build256();
  return palette;
}

const Bytes& StandardPaletteForDepth(int bitCount) {
  static const Bytes none;
  switch (bitCount) {
    case 1:
      return StandardPalette2();
    case 4:
      return StandardPalette16();
    case 8:
      return StandardPalette256();
    default:
      return none;
  }
}

}  // namespace quillet
