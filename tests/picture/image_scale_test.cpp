#include <gtest/gtest.h>

#include "picture/image.h"

namespace {

Image32 Solid(int w, int h, std::uint8_t b, std::uint8_t g, std::uint8_t r, std::uint8_t a) {
  Image32 img{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 4)};
  for (std::size_t i = 0; i < img.pixels.size(); i += 4) {
    img.pixels[i] = b;
    img.pixels[i + 1] = g;
    img.pixels[i + 2] = r;
    img.pixels[i + 3] = a;
  }
  return img;
}

const std::uint8_t* Pixel(const Image32& img, int x, int y) {
  return img.pixels.data() + (static_cast<std::size_t>(y) * img.width + x) * 4;
}

TEST(PremultiplyBgra, ScalesColourByAlpha) {
  std::vector<std::uint8_t> px{255, 128, 10, 255, 255, 128, 10, 128, 255, 255, 255, 0};
  PremultiplyBgra(px);
  EXPECT_EQ(px, (std::vector<std::uint8_t>{255, 128, 10, 255, 128, 64, 5, 128, 0, 0, 0, 0}));
}

TEST(ScaleImage, SolidStaysSolidAtAnySize) {
  const Image32 src = Solid(7, 3, 10, 20, 30, 255);
  for (auto [w, h] : {std::pair{1, 1}, {7, 3}, {182, 182}, {2, 50}}) {
    const Image32 out = ScaleImage(src, w, h);
    ASSERT_EQ(out.width, w);
    ASSERT_EQ(out.height, h);
    ASSERT_EQ(out.pixels.size(), static_cast<std::size_t>(w) * h * 4);
    for (std::size_t i = 0; i < out.pixels.size(); i += 4) {
      ASSERT_EQ(out.pixels[i], 10);
      ASSERT_EQ(out.pixels[i + 1], 20);
      ASSERT_EQ(out.pixels[i + 2], 30);
      ASSERT_EQ(out.pixels[i + 3], 255);
    }
  }
}

TEST(ScaleImage, SameSizeIsAnExactCopy) {
  Image32 src = Solid(3, 2, 0, 0, 0, 255);
  for (std::size_t i = 0; i < src.pixels.size(); ++i) {
    src.pixels[i] = i % 4 == 3 ? 255 : static_cast<std::uint8_t>(i * 10 % 200);
  }
  EXPECT_EQ(ScaleImage(src, 3, 2).pixels, src.pixels);
}

TEST(ScaleImage, ShrinkingAveragesInsteadOfDroppingPixels) {
  // A one-pixel checkerboard halved: every result pixel is grey, not black or white.
  Image32 src = Solid(8, 8, 0, 0, 0, 255);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const std::uint8_t v = (x + y) % 2 ? 255 : 0;
      std::uint8_t* p = src.pixels.data() + (static_cast<std::size_t>(y) * 8 + x) * 4;
      p[0] = p[1] = p[2] = v;
    }
  }
  const Image32 out = ScaleImage(src, 4, 4);
  for (std::size_t i = 0; i < out.pixels.size(); i += 4) {
    EXPECT_NEAR(out.pixels[i], 128, 40) << i;
  }
}

TEST(ScaleImage, EnlargingInterpolatesAndKeepsEdges) {
  Image32 src{2, 1, {0, 0, 0, 255, 200, 200, 200, 255}};
  const Image32 out = ScaleImage(src, 8, 1);
  EXPECT_EQ(Pixel(out, 0, 0)[0], 0);
  EXPECT_EQ(Pixel(out, 7, 0)[0], 200);
  for (int x = 1; x < 8; ++x) EXPECT_GE(Pixel(out, x, 0)[0], Pixel(out, x - 1, 0)[0]);
  EXPECT_GT(Pixel(out, 4, 0)[0], 0);
  EXPECT_LT(Pixel(out, 3, 0)[0], 200);
}

TEST(ScaleImage, PremultipliedColourNeverExceedsAlpha) {
  Image32 src{2, 2, {255, 255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0, 90, 90, 90, 90}};
  const Image32 out = ScaleImage(src, 13, 11);
  for (std::size_t i = 0; i < out.pixels.size(); i += 4) {
    for (int c = 0; c < 3; ++c) ASSERT_LE(out.pixels[i + c], out.pixels[i + 3]);
  }
}

TEST(ScaleImage, EmptyInputOrSizeGivesEmpty) {
  EXPECT_TRUE(ScaleImage(Image32{}, 10, 10).empty());
  EXPECT_TRUE(ScaleImage(Solid(2, 2, 1, 2, 3, 4), 0, 10).empty());
  EXPECT_TRUE(ScaleImage(Solid(2, 2, 1, 2, 3, 4), 10, -1).empty());
  Image32 shortPixels{4, 4, std::vector<std::uint8_t>(8)};
  EXPECT_TRUE(ScaleImage(shortPixels, 10, 10).empty());
}

}  // namespace
