#pragma once
// Encoded pictures read into 32-bit B, G, R, A rows, top-down: through the system's imaging
// component (PNG, BMP, JPEG, GIF) or libwebp (WebP, which the system lacks before Windows 10's
// extension, and Wine). Pictures wider or taller than kMaxImageSide are refused.
#include <vector>

#include "util/text.h"
#include "util/windows_prelude.h"
#include <wincodec.h>

struct PixelRows {
  UINT width = 0;
  UINT height = 0;
  std::vector<BYTE> bgra;
  [[nodiscard]] bool empty() const noexcept { return bgra.empty(); }
};

[[nodiscard]] bool ImageSizeAllowed(long long width, long long height) noexcept;

// The first frame converted to `format` (32-bit BGRA straight or premultiplied); empty on failure.
PixelRows SystemPixelRows(IWICImagingFactory* factory, const Bytes& encoded, const WICPixelFormatGUID& format);

// Straight (not premultiplied) alpha; empty on failure.
PixelRows WebpPixelRows(const Bytes& webp);
