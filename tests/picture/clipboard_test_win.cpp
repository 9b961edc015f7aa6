// Copying pictures to the real clipboard, read back as CF_BITMAP.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/main_window.h"
#include "picture/actions.h"
#include "picture/clipboard_pixels.h"
#include "picture/clipboard_win.h"
#include "picture/image_decode.h"
#include "tests/picture/clipboard_reader_win.h"
#include "tests/picture/picture_test_support_win.h"
#include "util/com_ptr.h"
#include <wincodec.h>

namespace {

// A 24x20 opaque picture (a gradient with a red square) encoded by the system in `container`.
Bytes SystemEncoded(const GUID& container) {
  const ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWICImagingFactory),
                                factory.put_void()))) {
    return {};
  }
  constexpr UINT kWidth = 24;
  constexpr UINT kHeight = 20;
  std::vector<BYTE> pixels(kWidth * kHeight * 3);
  for (UINT y = 0; y < kHeight; ++y) {
    for (UINT x = 0; x < kWidth; ++x) {
      BYTE* p = &pixels[(y * kWidth + x) * 3];
      const bool square = x >= 4 && x < 12 && y >= 4 && y < 12;
      p[0] = square ? 0 : static_cast<BYTE>(x * 10);
      p[1] = square ? 0 : static_cast<BYTE>(y * 12);
      p[2] = square ? 255 : 60;
    }
  }
  ComPtr<IStream> stream;
  ::CreateStreamOnHGlobal(nullptr, TRUE, stream.put());
  ComPtr<IWICBitmapEncoder> encoder;
  if (FAILED(factory->CreateEncoder(container, nullptr, encoder.put()))) return {};
  encoder->Initialize(stream.get(), WICBitmapEncoderNoCache);
  ComPtr<IWICBitmapFrameEncode> frame;
  ComPtr<IPropertyBag2> options;
  encoder->CreateNewFrame(frame.put(), options.put());
  frame->Initialize(options.get());
  frame->SetSize(kWidth, kHeight);
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  frame->SetPixelFormat(&format);
  ComPtr<IWICBitmap> source;
  factory->CreateBitmapFromMemory(kWidth, kHeight, GUID_WICPixelFormat24bppBGR, kWidth * 3,
                                  static_cast<UINT>(pixels.size()), pixels.data(), source.put());
  if (FAILED(frame->WriteSource(source.get(), nullptr)) || FAILED(frame->Commit()) || FAILED(encoder->Commit())) {
    return {};
  }
  ULARGE_INTEGER end{};
  stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &end);
  HGLOBAL block = nullptr;
  ::GetHGlobalFromStream(stream.get(), &block);
  const auto* data = static_cast<const std::uint8_t*>(::GlobalLock(block));
  Bytes bytes(data, data + end.QuadPart);
  ::GlobalUnlock(block);
  return bytes;
}

struct CopyCase {
  const char* name;
  Bytes picture;
  bool systemLoader;  // BMP, JPEG, GIF: the system picture loader reads them
  int tolerance;      // JPEG: two decoders may round differently
};

std::vector<CopyCase> CopyCases() {
  return {
      {"Png", TestImage(L"square.png"), false, 0},
      {"LosslessWebp", TestImage(L"square-lossless.webp"), false, 0},
      {"LossyWebp", TestImage(L"square-lossy.webp"), false, 0},
      {"Bmp", TestImage(L"square.bmp"), true, 0},
      {"Gif", TestImage(L"square.gif"), true, 0},
      {"SystemBmp", SystemEncoded(GUID_ContainerFormatBmp), true, 0},
      {"Jpeg", SystemEncoded(GUID_ContainerFormatJpeg), true, 4},
      {"SystemGif", SystemEncoded(GUID_ContainerFormatGif), true, 0},
  };
}

// What the clipboard must show: the picture over white. Where the system loader read a picture
// with transparent pixels (GIF), only the covered pixels are compared.
void ExpectCopied(const CopyCase& c) {
  const Image32 decoded = DecodeImage(c.picture);
  ASSERT_FALSE(decoded.empty()) << c.name;
  const Image32 expected = OverWhite(decoded);
  const Image32 copied = ClipboardBitmap();
  ASSERT_EQ(copied.width, decoded.width) << c.name;
  ASSERT_EQ(copied.height, decoded.height) << c.name;
  int compared = 0;
  for (std::size_t i = 0; i < expected.pixels.size(); i += 4) {
    if (c.systemLoader && decoded.pixels[i + 3] != 255) continue;
    ++compared;
    for (std::size_t k = 0; k < 3; ++k) {
      ASSERT_LE(std::abs(copied.pixels[i + k] - expected.pixels[i + k]), c.tolerance)
          << c.name << " pixel " << i / 4 << " channel " << k;
    }
  }
  // Every pixel counts where our decoder made the bitmap; the system loader's GIF keeps only its
  // opaque part comparable, which must not be empty.
  if (c.systemLoader) {
    EXPECT_GT(compared, 0) << c.name;
  } else {
    EXPECT_EQ(compared, decoded.width * decoded.height) << c.name;
  }
}

TEST(CopyPicture, EachFormatGivesTheIconsSizeAndPixels) {
  for (const CopyCase& c : CopyCases()) {
    ASSERT_FALSE(c.picture.empty()) << c.name;
    PutText(L"before");
    CopyPictureToClipboard(c.picture);
    EXPECT_TRUE(ClipboardHasBitmap()) << c.name;
    EXPECT_TRUE(ClipboardText().empty()) << c.name << ": the copy replaces the clipboard";
    ExpectCopied(c);
  }
}

TEST(CopyPicture, TransparentAreasAreWhiteAndHalfAlphaBlends) {
  CopyPictureToClipboard(TestImage(L"square.png"));
  const Image32 copied = ClipboardBitmap();
  ASSERT_EQ(copied.width, 16);
  const std::uint8_t* corner = &copied.pixels[(15 * 16 + 0) * 4];
  EXPECT_EQ(corner[0], 255);
  EXPECT_EQ(corner[1], 255);
  EXPECT_EQ(corner[2], 255);
  const std::uint8_t* half = &copied.pixels[(1 * 16 + 1) * 4];  // red at alpha 128 over white
  EXPECT_NEAR(half[2], 255, 1);
  EXPECT_NEAR(half[1], 127, 1);
  EXPECT_NEAR(half[0], 127, 1);
}

TEST(LoadBitmapFromBytes, SystemFormatsGiveAnOwnBitmapOthersNone) {
  for (const CopyCase& c : CopyCases()) {
    UniqueBitmap bitmap = LoadBitmapFromBytes(c.picture);
    if (!c.systemLoader) {
      // WebP: never; PNG: Windows' loader refuses it (Wine's reads it).
      if (c.name != std::string("Png")) {
        EXPECT_FALSE(bitmap) << c.name;
      }
      continue;
    }
    ASSERT_TRUE(bitmap) << c.name;
    // The picture object is gone: the bitmap must be a copy of its own, still alive.
    BITMAP info{};
    ASSERT_EQ(::GetObjectW(bitmap.get(), sizeof(info), &info), static_cast<int>(sizeof(info))) << c.name;
    const Image32 decoded = DecodeImage(c.picture);
    EXPECT_EQ(info.bmWidth, decoded.width) << c.name;
    EXPECT_EQ(info.bmHeight, decoded.height) << c.name;
  }
  const Bytes png = TestImage(L"square.png");
  for (const Bytes& bad : {Bytes{}, Bytes{'h', 'e', 'l', 'l', 'o'}, Bytes(png.begin(), png.begin() + 30),
                           Bytes(64, 0x00)}) {
    EXPECT_FALSE(LoadBitmapFromBytes(bad));
  }
}

TEST(CopyPicture, NothingToCopyLeavesTheClipboardAlone) {
  const Bytes png = TestImage(L"square.png");
  for (const Bytes& bad : {Bytes{}, Bytes{'h', 'e', 'l', 'l', 'o'}, Bytes(png.begin(), png.begin() + 30),
                           Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'E', 'B', 'P'}}) {
    PutText(L"earlier content");
    CopyPictureToClipboard(bad);
    EXPECT_EQ(ClipboardText(), L"earlier content");
    EXPECT_FALSE(ClipboardHasBitmap());
  }
}

TEST(CopyPicture, ClipboardHeldByAnotherWindowIsLeftAlone) {
  PutText(L"held");
  // A clipboard opened by a window is refused to every other caller until it is closed.
  const HWND holder = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(holder, nullptr);
  ASSERT_TRUE(::OpenClipboard(holder));
  CopyPictureToClipboard(TestImage(L"square.png"));
  ::CloseClipboard();
  ::DestroyWindow(holder);
  EXPECT_EQ(ClipboardText(), L"held");
  EXPECT_FALSE(ClipboardHasBitmap());
}

TEST(OnCopyClicked, BeforeAnyImportKeepsTheClipboardThenCopiesTheShownPictureTwice) {
  SetPictureBytes({});
  PutText(L"earlier content");
  OnCopyClicked();
  EXPECT_EQ(ClipboardText(), L"earlier content");

  SetPictureBytes(TestImage(L"square-lossless.webp"));
  OnCopyClicked();
  Image32 first = ClipboardBitmap();
  ASSERT_EQ(first.width, 16);

  // A second copy of another picture replaces the first.
  SetPictureBytes(SystemEncoded(GUID_ContainerFormatBmp));
  OnCopyClicked();
  EXPECT_EQ(ClipboardBitmap().width, 24);
  OnCopyClicked();
  EXPECT_EQ(ClipboardBitmap().width, 24);
  SetPictureBytes({});
}

}  // namespace
