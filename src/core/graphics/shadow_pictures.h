#pragma once

// The two stored window-shadow pictures: 100 x 100, black, transparent in
// the middle and darkening towards the outer border. They are drawn with the
// nine-slice rule, so only the 20-pixel corners and the edge ramps matter;
// every edge is constant along its length so that stretching keeps it.

#include <array>
#include <cstdint>
#include <vector>

#include "core/text/text.h"

namespace quillet {

inline constexpr int kShadowPictureSide = 100;

// Alpha along an edge of the size-5 picture, from the outer pixel inward.
inline constexpr std::array<std::uint8_t, 5> kShadowRamp5{15, 31, 53, 79, 111};
// The same for size 10, top and left edges; the bottom and right edges end
// with 124 instead of 137.
inline constexpr std::array<std::uint8_t, 10> kShadowRamp10{11, 19, 28,  40,  53,
                                                            68, 85, 105, 122, 137};
inline constexpr std::uint8_t kShadowRamp10InnerBottomRight = 124;

// The top-left corner of the size-5 picture, rows 0..4, columns 0..10. The
// other corners are its mirror images, and the left edge near the corner is
// its transpose (the picture is symmetric about the corner's diagonal).
inline constexpr std::array<std::array<std::uint8_t, 11>, 5> kShadowCorner5{{
    {0, 0, 0, 0, 3, 6, 9, 12, 13, 14, 15},
    {0, 0, 1, 7, 11, 16, 21, 25, 28, 30, 31},
    {0, 1, 8, 14, 21, 29, 37, 43, 47, 50, 52},
    {0, 7, 14, 23, 34, 46, 57, 65, 72, 76, 78},
    {2, 11, 21, 34, 50, 66, 81, 93, 102, 107, 110},
}};

// Alpha of every pixel, rows top-down, 100 x 100; empty for a size other
// than 5 or 10.
std::vector<std::uint8_t> ShadowPictureAlpha(int size);

// The picture as PNG bytes (RGBA, black with the alpha above); empty for a
// size other than 5 or 10.
Bytes ShadowPicturePng(int size);

}  // namespace quillet
