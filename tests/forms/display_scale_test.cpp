// Stored units to display pixels and back: a property read on a scaled display must give back
// exactly what was stored or written, and the display must get the nearest pixel.

#include "runtime/forms/display_scale.h"

#include <gtest/gtest.h>

namespace {

using forms::ToDisplay;
using forms::ToDisplayCoordinate;
using forms::ToDisplayFormCoordinate;
using forms::ToStored;

constexpr int32_t kScales[] = {96, 120, 144, 168, 192, 240};

TEST(DisplayScale, EveryStoredValueComesBackFromItsPixels) {
  for (int32_t dpi : kScales)
    for (int32_t stored = -2000; stored <= 2000; ++stored)
      ASSERT_EQ(ToStored(ToDisplay(stored, dpi), dpi), stored) << stored << " at " << dpi << " DPI";
}

TEST(DisplayScale, PixelsAreTheNearestRoundedHalfAwayFromZero) {
  struct Case {
    int32_t stored, dpi, pixels;
  };
  const Case cases[] = {
      {315, 96, 315}, {315, 120, 394}, {315, 144, 473}, {315, 192, 630},  // 393.75, 472.5
      {1, 144, 2},    {-1, 144, -2},   {16, 120, 20},   {-32627, 96, -32627},
      {160, 144, 240}, {0, 192, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ToDisplay(c.stored, c.dpi), c.pixels) << c.stored << " at " << c.dpi << " DPI";
}

// Positions and sizes are clamped to 32627 in stored units; on a larger display their pixels
// are held to the same limit, so that a window never leaves the 16 bits its coordinates have.
TEST(DisplayScale, CoordinatesStayWithinTheLimitInPixels) {
  struct Case {
    int32_t stored, dpi, pixels;
  };
  const Case cases[] = {
      {32627, 96, 32627},  {-32627, 96, -32627}, {32627, 144, 32627}, {-32627, 144, -32627},
      {32627, 192, 32627}, {-32627, 192, -32627}, {21751, 144, 32627}, {21752, 144, 32627},
      {21750, 144, 32625}, {-16313, 192, -32626}, {160, 144, 240},     {0, 192, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ToDisplayCoordinate(c.stored, c.dpi), c.pixels) << c.stored << " at " << c.dpi << " DPI";
}

// What the stored form holds is held to the same limit once scaled; at 96 DPI it reaches the
// window as it is, whatever it is.
TEST(DisplayScale, FormCoordinatesStayWithinTheLimitOnceScaled) {
  struct Case {
    int32_t stored, dpi, pixels;
  };
  const Case cases[] = {
      {21751, 144, 32627}, {21752, 144, 32627}, {30000, 144, 32627}, {-21752, 144, -32627},
      {21750, 144, 32625}, {160, 144, 240},     {40000, 96, 40000},  {-40000, 96, -40000},
      {32627, 96, 32627},  {40000, 120, 32627},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ToDisplayFormCoordinate(c.stored, c.dpi), c.pixels) << c.stored << " at " << c.dpi << " DPI";
}

}  // namespace
