#include "picture/pixel_readers_win.h"

#include <climits>

#include "picture/image.h"
#include "util/com_ptr.h"
#include "webp/decode.h"

bool ImageSizeAllowed(long long width, long long height) noexcept {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide;
}

PixelRows SystemPixelRows(IWICImagingFactory* factory, const Bytes& encoded, const WICPixelFormatGUID& format) {
  if (!factory || encoded.empty() || encoded.size() > UINT_MAX) return {};
  ComPtr<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.put()))) return {};
  // The stream only reads the bytes, which outlive it.
  if (FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(encoded.data()), static_cast<DWORD>(encoded.size())))) {
    return {};
  }
  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put()))) {
    return {};
  }
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.put()))) return {};
  PixelRows rows;
  if (FAILED(frame->GetSize(&rows.width, &rows.height)) || !ImageSizeAllowed(rows.width, rows.height)) return {};
  ComPtr<IWICBitmapSource> converted;
  if (FAILED(::WICConvertBitmapSource(format, frame.get(), converted.put()))) return {};
  rows.bgra.resize(static_cast<std::size_t>(rows.width) * rows.height * 4);
  if (FAILED(converted->CopyPixels(nullptr, rows.width * 4, static_cast<UINT>(rows.bgra.size()), rows.bgra.data()))) {
    return {};
  }
  return rows;
}

PixelRows WebpPixelRows(const Bytes& webp) {
  int width = 0;
  int height = 0;
  if (!WebPGetInfo(webp.data(), webp.size(), &width, &height) || !ImageSizeAllowed(width, height)) return {};
  PixelRows rows{static_cast<UINT>(width), static_cast<UINT>(height), {}};
  rows.bgra.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  if (!WebPDecodeBGRAInto(webp.data(), webp.size(), rows.bgra.data(), rows.bgra.size(), width * 4)) return {};
  return rows;
}
