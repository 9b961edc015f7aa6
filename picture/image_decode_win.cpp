#include "picture/image_decode.h"

#include <utility>

#include "picture/pixel_readers_win.h"
#include "picture/save_format.h"
#include "util/com_ptr.h"

namespace {

Image32 ToImage(PixelRows rows) {
  Image32 image;
  if (rows.empty()) return image;
  image.width = static_cast<int>(rows.width);
  image.height = static_cast<int>(rows.height);
  image.pixels = std::move(rows.bgra);
  return image;
}

Image32 DecodeWebp(const Bytes& bytes) {
  PixelRows rows = WebpPixelRows(bytes);
  PremultiplyBgra(rows.bgra);
  return ToImage(std::move(rows));
}

Image32 DecodeWithWic(const Bytes& bytes) {
  const ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWICImagingFactory),
                                factory.put_void()))) {
    return {};
  }
  return ToImage(SystemPixelRows(factory.get(), bytes, GUID_WICPixelFormat32bppPBGRA));
}

}  // namespace

Image32 DecodeImage(const Bytes& bytes) {
  try {
    if (bytes.empty()) return {};
    return IsWebpFile(bytes) ? DecodeWebp(bytes) : DecodeWithWic(bytes);
  } catch (...) {
    return {};  // out of memory: as undecodable
  }
}
