#include "core/graphics/shadow_geometry.h"

#include <gtest/gtest.h>

#include <climits>

#include "core/graphics/nine_slice.h"
#include "core/graphics/round_rect_path.h"

namespace quillet {
namespace {

TEST(NineSlice, DefaultMarginsByPictureSize) {
  struct Case {
    int w, h, m;
  };
  const Case cases[] = {{100, 100, 20}, {81, 81, 20}, {80, 100, 10}, {100, 80, 10},
                        {60, 60, 10},   {51, 51, 10}, {50, 50, 5},   {100, 40, 5}};
  for (const Case& c : cases) {
    EXPECT_EQ(DefaultNineSliceMargins(c.w, c.h), (NineSliceMargins{c.m, c.m, c.w - c.m, c.h - c.m}))
        << c.w << "x" << c.h;
  }
}

TEST(NineSlice, PiecesForTheMainWindowShadow) {
  // The shadow of a 789 x 545 window with size 5 is 799 x 555.
  const std::array<SliceCopy, 9> copies = NineSliceCopies(100, 100, {0, 0, 799, 555});
  const SliceCopy expected[9] = {
      {{0, 0, 20, 20}, {0, 0, 20, 20}},       {{20, 0, 759, 20}, {20, 0, 60, 20}},
      {{779, 0, 20, 20}, {80, 0, 20, 20}},    {{0, 20, 20, 515}, {0, 20, 20, 60}},
      {{20, 20, 759, 515}, {20, 20, 60, 60}}, {{779, 20, 20, 515}, {80, 20, 20, 60}},
      {{0, 535, 20, 20}, {0, 80, 20, 20}},    {{20, 535, 759, 20}, {20, 80, 60, 20}},
      {{779, 535, 20, 20}, {80, 80, 20, 20}},
  };
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(copies[i].destination, expected[i].destination) << "piece " << i;
    EXPECT_EQ(copies[i].source, expected[i].source) << "piece " << i;
  }
}

TEST(NineSlice, OffsetTargetExplicitMarginsAndTinyTargets) {
  const auto copies = NineSliceCopies(60, 40, {10, 7, 100, 50}, NineSliceMargins{5, 6, 50, 30});
  EXPECT_EQ(copies[0].destination, (PixelRect{10, 7, 5, 6}));
  EXPECT_EQ(copies[4].destination, (PixelRect{15, 13, 85, 34}));
  EXPECT_EQ(copies[4].source, (PixelRect{5, 6, 45, 24}));
  EXPECT_EQ(copies[8].destination, (PixelRect{100, 47, 10, 10}));
  EXPECT_EQ(copies[8].source, (PixelRect{50, 30, 10, 10}));

  for (const SliceCopy& c : NineSliceCopies(100, 100, {0, 0, 30, 12})) {
    EXPECT_GE(c.destination.width, 0);
    EXPECT_GE(c.destination.height, 0);
  }
}

TEST(RoundRectPath, FourQuarterArcs) {
  const RoundRectPath path = CreateRoundRectPath(0, 0, 799, 555, 4);
  EXPECT_FALSE(path.plainRectangle);
  const std::vector<PathArc> expected = {{{0, 0, 8, 8}, 180, 90},
                                         {{791, 0, 8, 8}, 270, 90},
                                         {{791, 547, 8, 8}, 0, 90},
                                         {{0, 547, 8, 8}, 90, 90}};
  EXPECT_EQ(path.arcs, expected);
}

TEST(RoundRectPath, RadiusLimits) {
  const RoundRectPath plain = CreateRoundRectPath(3, 4, 50, 60, 0);
  EXPECT_TRUE(plain.plainRectangle);
  EXPECT_EQ(plain.rectangle, (PixelRect{3, 4, 50, 60}));
  EXPECT_TRUE(plain.arcs.empty());
  EXPECT_TRUE(CreateRoundRectPath(0, 0, 5, 5, -3).plainRectangle);
  const RoundRectPath big = CreateRoundRectPath(0, 0, 500, 500, 1000);
  ASSERT_EQ(big.arcs.size(), 4u);
  EXPECT_EQ(big.arcs[2].bounds, (PixelRect{300, 300, 200, 200}));
}

TEST(ColorToArgb, MovesRedToTheHighColourByte) {
  EXPECT_EQ(ColorToArgb(0x000000FF, 20), 0x14FF0000u);
  EXPECT_EQ(ColorToArgb(0x00B48246, 255), 0xFF4682B4u);  // steel blue
  EXPECT_EQ(ColorToArgb(0x00FF0000, 0), 0x000000FFu);
  EXPECT_EQ(ColorToArgb(0xAA000000, 1), 0x01000000u);  // high byte of the colour ignored
}

TEST(ShadowRings, StepBySize) {
  struct Case {
    int size, step;
  };
  const Case cases[] = {{1, 100}, {3, 33},  {5, 20},  {8, 12}, {9, 16},
                        {10, 15}, {15, 10}, {151, 0}, {0, 0},  {-2, 0}};
  for (const Case& c : cases) EXPECT_EQ(ShadowRingStep(c.size), c.step) << c.size;
}

TEST(ShadowRings, RedSizeFiveGivesFiveRingsFromFaintToDark) {
  ASSERT_EQ(ChooseShadowDrawing(0x000000FF, 5), ShadowDrawing::Rings);
  const ShadowRings rings = BuildShadowRings(799, 555, 5, 0x000000FF);
  EXPECT_EQ(rings.uncovered, (PixelRect{5, 5, 789, 545}));
  ASSERT_EQ(rings.rings.size(), 5u);
  for (int i = 1; i <= 5; ++i) {
    const ShadowRing& ring = rings.rings[i - 1];
    EXPECT_EQ(ring.argb, (static_cast<std::uint32_t>(20 * i) << 24) | 0x00FF0000u) << i;
    ASSERT_EQ(ring.path.arcs.size(), 4u);
    EXPECT_EQ(ring.path.rectangle, (PixelRect{i - 1, i - 1, 799 - 2 * i + 1, 555 - 2 * i + 1}));
    EXPECT_EQ(ring.path.arcs[0].bounds, (PixelRect{i - 1, i - 1, 8, 8}));
  }
  EXPECT_TRUE(BuildShadowRings(100, 100, 0, 0).rings.empty());
  EXPECT_EQ(BuildShadowRings(10, 40, 1000000, 0).rings.size(), 5u);  // stops in the middle
}

TEST(ShadowDrawingChoice, PicturesOnlyForBlackFiveAndTen) {
  EXPECT_EQ(ChooseShadowDrawing(0, 5), ShadowDrawing::SmallPicture);
  EXPECT_EQ(ChooseShadowDrawing(0, 10), ShadowDrawing::LargePicture);
  EXPECT_EQ(ChooseShadowDrawing(0, 6), ShadowDrawing::Rings);
  EXPECT_EQ(ChooseShadowDrawing(0x010101, 10), ShadowDrawing::Rings);
}

TEST(ShadowPlacement, FollowsTheWindow) {
  ShadowedWindowState window{{50, 50, 789, 545}, true, false, false};
  ShadowPlacement p = PlaceShadow(window, 5);
  EXPECT_TRUE(p.show);
  EXPECT_TRUE(p.place);
  EXPECT_EQ(p.frame, (PixelRect{45, 45, 799, 555}));

  struct Hidden {
    bool visible, maximised, minimised;
  };
  for (Hidden h :
       {Hidden{false, false, false}, Hidden{true, true, false}, Hidden{true, false, true}}) {
    const ShadowPlacement hidden =
        PlaceShadow({{50, 50, 789, 545}, h.visible, h.maximised, h.minimised}, 5);
    EXPECT_FALSE(hidden.show);
    EXPECT_FALSE(hidden.place);
  }
  window.frame.width = 0;
  p = PlaceShadow(window, 5);
  EXPECT_TRUE(p.show);
  EXPECT_FALSE(p.place);
}

TEST(ShadowGeometry, ExtremeValuesGiveDefinedResults) {
  const PixelRect huge{INT_MAX, INT_MIN, INT_MAX, INT_MAX};
  const ShadowPlacement p = PlaceShadow({huge, true, false, false}, INT_MAX);
  EXPECT_EQ(p.frame, (PixelRect{INT_MAX - INT_MAX, INT_MIN, INT_MAX, INT_MAX}));
  for (const SliceCopy& c : NineSliceCopies(INT_MIN, INT_MAX, huge)) {
    EXPECT_GE(c.destination.width, 0);
  }
  const RoundRectPath path = CreateRoundRectPath(INT_MAX, INT_MAX, INT_MAX, INT_MAX, 4);
  EXPECT_EQ(path.arcs[2].bounds.x, INT_MAX);
  EXPECT_EQ(BuildShadowRings(INT_MAX, INT_MAX, 3, 0).rings.size(), 3u);
  EXPECT_EQ(BuildShadowRings(INT_MIN, 10, INT_MAX, 0).uncovered.width, INT_MIN);
}

}  // namespace
}  // namespace quillet
