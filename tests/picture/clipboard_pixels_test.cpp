// The clipboard picture drawn over white.
#include <gtest/gtest.h>

#include "picture/clipboard_pixels.h"

namespace {

TEST(OverWhite, TransparentBecomesWhiteOpaqueStaysPartialBlends) {
  Image32 image;
  image.width = 5;
  image.height = 1;
  image.pixels = {
      0,   0,   0,   0,    // transparent
      40,  30,  200, 255,  // opaque: unchanged
      0,   0,   128, 128,  // red at half alpha (premultiplied)
      10,  20,  30,  40,   // dark at low alpha
      250, 250, 250, 10,   // malformed: colour above alpha, clamped
  };
  const Image32 out = OverWhite(image);
  ASSERT_EQ(out.width, 5);
  ASSERT_EQ(out.height, 1);
  const std::vector<std::uint8_t> expected{
      255, 255, 255, 255,  //
      40,  30,  200, 255,  //
      127, 127, 255, 255,  //
      225, 235, 245, 255,  //
      255, 255, 255, 255,
  };
  EXPECT_EQ(out.pixels, expected);
}

TEST(OverWhite, EmptyStaysEmpty) { EXPECT_TRUE(OverWhite(Image32{}).empty()); }

}  // namespace
