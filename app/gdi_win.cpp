#include "app/gdi_win.h"

#include <cstring>

#include "picture/image.h"

UniqueBitmap CreateBitmapFromImage(const Image32& image) {
  if (image.empty()) return {};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return {};
  std::memcpy(bits, image.pixels.data(), static_cast<std::size_t>(image.width) * image.height * 4);
  return bitmap;
}
