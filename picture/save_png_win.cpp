#include <climits>
#include <cstring>
#include <vector>

#include "picture/image.h"
#include "picture/save_format.h"
#include "picture/save_win.h"
#include "util/com_ptr.h"
#include "util/unique_resource.h"
#include "webp/decode.h"
#include <wincodec.h>

namespace {

// Straight (not premultiplied) B, G, R, A pixels, rows top-down.
struct StraightPixels {
  UINT width = 0;
  UINT height = 0;
  std::vector<BYTE> bgra;
};

bool SizeAllowed(long long width, long long height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide;
}

StraightPixels WebpPixels(const Bytes& webp) {
  int width = 0;
  int height = 0;
  if (!WebPGetInfo(webp.data(), webp.size(), &width, &height) || !SizeAllowed(width, height)) return {};
  StraightPixels pixels{static_cast<UINT>(width), static_cast<UINT>(height), {}};
  pixels.bgra.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  if (!WebPDecodeBGRAInto(webp.data(), webp.size(), pixels.bgra.data(), pixels.bgra.size(), width * 4)) return {};
  return pixels;
}

StraightPixels SystemPixels(IWICImagingFactory* factory, const Bytes& encoded) {
  if (encoded.size() > UINT_MAX) return {};
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
  StraightPixels pixels;
  if (FAILED(frame->GetSize(&pixels.width, &pixels.height)) || !SizeAllowed(pixels.width, pixels.height)) return {};
  ComPtr<IWICBitmapSource> converted;
  if (FAILED(::WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.get(), converted.put()))) return {};
  pixels.bgra.resize(static_cast<std::size_t>(pixels.width) * pixels.height * 4);
  if (FAILED(converted->CopyPixels(nullptr, pixels.width * 4, static_cast<UINT>(pixels.bgra.size()),
                                   pixels.bgra.data()))) {
    return {};
  }
  return pixels;
}

Bytes EncodePng(IWICImagingFactory* factory, StraightPixels& pixels) {
  if (pixels.bgra.empty()) return {};
  ComPtr<IStream> stream;
  if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put()))) return {};
  ComPtr<IWICBitmapEncoder> encoder;
  if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put()))) return {};
  if (FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache))) return {};
  ComPtr<IWICBitmapFrameEncode> frame;
  ComPtr<IPropertyBag2> options;
  if (FAILED(encoder->CreateNewFrame(frame.put(), options.put()))) return {};
  if (FAILED(frame->Initialize(options.get()))) return {};
  if (FAILED(frame->SetSize(pixels.width, pixels.height))) return {};
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
  // An encoder that would store another format would change the pixels.
  if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat32bppBGRA) return {};
  if (FAILED(frame->WritePixels(pixels.height, pixels.width * 4, static_cast<UINT>(pixels.bgra.size()),
                                pixels.bgra.data()))) {
    return {};
  }
  if (FAILED(frame->Commit()) || FAILED(encoder->Commit())) return {};
  ULARGE_INTEGER end{};
  if (FAILED(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &end)) || end.QuadPart == 0) return {};
  HGLOBAL block = nullptr;  // still the stream's
  if (FAILED(::GetHGlobalFromStream(stream.get(), &block))) return {};
  const class GlobalLock lock(block);
  if (!lock.data() || ::GlobalSize(block) < end.QuadPart) return {};
  const auto* data = static_cast<const std::uint8_t*>(lock.data());
  return Bytes(data, data + end.QuadPart);
}

}  // namespace

Bytes PictureAsPng(const Bytes& picture) {
  try {
    if (picture.empty() || IsPngFile(picture)) return picture;
    const ComScope com;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  __uuidof(IWICImagingFactory), factory.put_void()))) {
      return {};
    }
    // WebP straight from libwebp: the system's imaging component has no WebP decoder here.
    StraightPixels pixels = IsWebpFile(picture) ? WebpPixels(picture) : SystemPixels(factory.get(), picture);
    return EncodePng(factory.get(), pixels);
  } catch (...) {
    return {};  // out of memory: as unreadable
  }
}
