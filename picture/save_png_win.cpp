#include <climits>
#include <cstring>
#include <vector>

#include "picture/pixel_readers_win.h"
#include "picture/save_format.h"
#include "picture/save_win.h"
#include "util/com_ptr.h"
#include "util/unique_resource.h"
#include <wincodec.h>

namespace {

// Straight-alpha rows as a PNG of the same pixels.
Bytes EncodePng(IWICImagingFactory* factory, PixelRows& pixels) {
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
    PixelRows pixels = IsWebpFile(picture) ? WebpPixelRows(picture)
                                           : SystemPixelRows(factory.get(), picture, GUID_WICPixelFormat32bppBGRA);
    return EncodePng(factory.get(), pixels);
  } catch (...) {
    return {};  // out of memory: as unreadable
  }
}
