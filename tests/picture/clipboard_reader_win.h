#pragma once
// Reading and filling the real clipboard in the picture-action tests.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "picture/image.h"
#include "util/windows_prelude.h"

// The clipboard's CF_BITMAP as 32-bit B, G, R, A rows top-down; empty when there is none.
inline Image32 ClipboardBitmap() {
  Image32 image;
  if (!::OpenClipboard(nullptr)) return image;
  const auto bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
  BITMAP info{};
  if (bitmap && ::GetObjectW(bitmap, sizeof(info), &info)) {
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof(request.bmiHeader);
    request.bmiHeader.biWidth = info.bmWidth;
    request.bmiHeader.biHeight = -info.bmHeight;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    image.pixels.resize(static_cast<std::size_t>(info.bmWidth) * info.bmHeight * 4);
    const HDC screen = ::GetDC(nullptr);
    if (::GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), image.pixels.data(), &request,
                    DIB_RGB_COLORS) == info.bmHeight) {
      image.width = info.bmWidth;
      image.height = info.bmHeight;
    } else {
      image.pixels.clear();
    }
    ::ReleaseDC(nullptr, screen);
  }
  ::CloseClipboard();
  return image;
}

inline void PutText(const std::wstring& text) {
  if (!::OpenClipboard(nullptr)) {
    ADD_FAILURE() << "the clipboard could not be opened";
    return;
  }
  ::EmptyClipboard();
  const std::size_t cb = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, cb);
  std::memcpy(::GlobalLock(block), text.c_str(), cb);
  ::GlobalUnlock(block);
  EXPECT_NE(::SetClipboardData(CF_UNICODETEXT, block), nullptr);  // the clipboard owns the block
  ::CloseClipboard();
}

inline std::wstring ClipboardText() {
  std::wstring text;
  if (!::OpenClipboard(nullptr)) return text;
  if (const HANDLE block = ::GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(::GlobalLock(block));
    ::GlobalUnlock(block);
  }
  ::CloseClipboard();
  return text;
}

inline bool ClipboardHasBitmap() { return ::IsClipboardFormatAvailable(CF_BITMAP) != FALSE; }
