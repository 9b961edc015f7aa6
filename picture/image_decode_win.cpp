#include "picture/image_decode.h"

#include <climits>
#include <cstring>

#include "util/com_ptr.h"
#include "webp/decode.h"
#include <wincodec.h>

namespace {

bool IsWebp(const Bytes& bytes) {
  return bytes.size() >= 12 && std::memcmp(bytes.data(), "RIFF", 4) == 0 && std::memcmp(bytes.data() + 8, "WEBP", 4) == 0;
}

bool SizeAllowed(long long width, long long height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide;
}

// The system's imaging component has no WebP decoder before Windows 10's extension, nor under Wine.
Image32 DecodeWebp(const Bytes& bytes) {
  int width = 0;
  int height = 0;
  if (!WebPGetInfo(bytes.data(), bytes.size(), &width, &height) || !SizeAllowed(width, height)) return {};
  Image32 image;
  image.pixels.resize(static_cast<std::size_t>(width) * height * 4);
  if (!WebPDecodeBGRAInto(bytes.data(), bytes.size(), image.pixels.data(), image.pixels.size(), width * 4)) return {};
  PremultiplyBgra(image.pixels);
  image.width = width;
  image.height = height;
  return image;
}

Image32 DecodeWithWic(const Bytes& bytes) {
  if (bytes.size() > UINT_MAX) return {};
  const ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWICImagingFactory),
                                factory.put_void()))) {
    return {};
  }
  ComPtr<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.put()))) return {};
  // The stream only reads the bytes, which outlive it.
  if (FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())))) {
    return {};
  }
  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put()))) {
    return {};
  }
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.put()))) return {};
  UINT width = 0;
  UINT height = 0;
  if (FAILED(frame->GetSize(&width, &height)) || !SizeAllowed(width, height)) return {};
  ComPtr<IWICBitmapSource> converted;
  if (FAILED(::WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame.get(), converted.put()))) return {};
  Image32 image;
  image.pixels.resize(static_cast<std::size_t>(width) * height * 4);
  if (FAILED(converted->CopyPixels(nullptr, width * 4, static_cast<UINT>(image.pixels.size()), image.pixels.data()))) {
    return {};
  }
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  return image;
}

}  // namespace

Image32 DecodeImage(const Bytes& bytes) {
  try {
    if (bytes.empty()) return {};
    return IsWebp(bytes) ? DecodeWebp(bytes) : DecodeWithWic(bytes);
  } catch (...) {
    return {};  // out of memory: as undecodable
  }
}
