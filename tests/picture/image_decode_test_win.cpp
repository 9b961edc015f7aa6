// DecodeImage on real encoded files, through WIC and libwebp.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "picture/image_decode.h"
#include "tests/picture/picture_test_support_win.h"
#include "util/windows_prelude.h"

namespace {

const std::uint8_t* Pixel(const Image32& img, int x, int y) {
  return img.pixels.data() + (static_cast<std::size_t>(y) * img.width + x) * 4;
}

class DecodeSquare : public ::testing::TestWithParam<const wchar_t*> {};

// square.*: 16x16, centre (200, 30, 40) opaque, border transparent, (1, 1) red at alpha 128.
TEST_P(DecodeSquare, SizeColoursAndPremultipliedAlpha) {
  const Bytes bytes = TestImage(GetParam());
  ASSERT_FALSE(bytes.empty());
  const Image32 img = DecodeImage(bytes);
  ASSERT_EQ(img.width, 16);
  ASSERT_EQ(img.height, 16);
  ASSERT_EQ(img.pixels.size(), 16u * 16u * 4u);
  const std::uint8_t* centre = Pixel(img, 8, 8);
  EXPECT_EQ(centre[0], 40);
  EXPECT_EQ(centre[1], 30);
  EXPECT_EQ(centre[2], 200);
  EXPECT_EQ(centre[3], 255);
  EXPECT_EQ(Pixel(img, 0, 15)[3], 0);
  const std::uint8_t* half = Pixel(img, 1, 1);
  EXPECT_EQ(half[3], 128);
  EXPECT_NEAR(half[2], 128, 1);  // 255 premultiplied by 128/255
  EXPECT_EQ(half[1], 0);
  EXPECT_EQ(half[0], 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, DecodeSquare, ::testing::Values(L"square.png", L"square-lossless.webp"),
                         [](const auto& param) { return param.index == 0 ? "Png" : "LosslessWebp"; });

TEST(DecodeImage, GifAndBmpDecodeThroughTheSystem) {
  const Image32 gif = DecodeImage(TestImage(L"square.gif"));
  ASSERT_EQ(gif.width, 16);
  EXPECT_EQ(Pixel(gif, 8, 8)[2], 200);
  EXPECT_EQ(Pixel(gif, 0, 0)[3], 0);  // the transparent index
  const Image32 bmp = DecodeImage(TestImage(L"square.bmp"));
  ASSERT_EQ(bmp.width, 16);
  EXPECT_EQ(Pixel(bmp, 8, 8)[2], 200);
  EXPECT_EQ(Pixel(bmp, 0, 0)[0], 255);  // blue border, opaque
  EXPECT_EQ(Pixel(bmp, 0, 0)[3], 255);
}

TEST(DecodeImage, BrokenInputGivesEmpty) {
  const Bytes png = TestImage(L"square.png");
  const Bytes webp = TestImage(L"square-lossless.webp");
  ASSERT_FALSE(png.empty());
  ASSERT_FALSE(webp.empty());
  const std::vector<Bytes> cases{
      {},
      {'h', 'e', 'l', 'l', 'o'},
      Bytes(png.begin(), png.begin() + 40),
      Bytes(webp.begin(), webp.begin() + 20),
      {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'E', 'B', 'P'},
      Bytes(4096, 0xFF),
  };
  for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_TRUE(DecodeImage(cases[i]).empty()) << "case " << i;
}

// A header that promises a huge picture is refused before anything is allocated for it.
TEST(DecodeImage, OversizedPicturesAreRefused) {
  Bytes png = TestImage(L"square.png");
  ASSERT_GT(png.size(), 24u);
  // IHDR width and height (big-endian at 16 and 20) -> 30000 x 30000; the CRC no longer matches
  // either, which some decoders forgive: the size check must stop it anyway.
  for (std::size_t at : {16u, 20u}) {
    png[at] = 0;
    png[at + 1] = 0;
    png[at + 2] = 0x75;
    png[at + 3] = 0x30;
  }
  EXPECT_TRUE(DecodeImage(png).empty());

  // Lossless WebP: 14-bit width-1 and height-1 right after the 0x2F signature byte at 20.
  Bytes webp = TestImage(L"square-lossless.webp");
  ASSERT_GT(webp.size(), 25u);
  ASSERT_EQ(webp[20], 0x2F);
  const std::uint32_t sides = (16383u) | (16383u << 14);
  std::uint32_t bits = 0;
  std::memcpy(&bits, &webp[21], 4);
  bits = (bits & ~0x0FFFFFFFu) | sides;
  std::memcpy(&webp[21], &bits, 4);
  EXPECT_TRUE(DecodeImage(webp).empty());
}

}  // namespace
