#include "picture/clipboard_win.h"

#include <climits>
#include <cstring>

#include "picture/clipboard_pixels.h"
#include "picture/guarded_call.h"
#include "picture/image_decode.h"
#include "picture/save_format.h"
#include "util/com_ptr.h"
#include <ocidl.h>
#include <olectl.h>

namespace {

// The clipboard, open for this scope with no owner window.
class OpenedClipboard {
 public:
  OpenedClipboard() noexcept : opened_(::OpenClipboard(nullptr) != FALSE) {}
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  ~OpenedClipboard() {
    if (opened_) ::CloseClipboard();
  }
  [[nodiscard]] bool opened() const noexcept { return opened_; }

 private:
  bool opened_;
};

class ScreenDc {
 public:
  ScreenDc() noexcept : dc_(::GetDC(nullptr)) {}
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  ~ScreenDc() {
    if (dc_) ::ReleaseDC(nullptr, dc_);
  }
  [[nodiscard]] HDC get() const noexcept { return dc_; }

 private:
  HDC dc_;
};

// A screen-compatible bitmap of an opaque picture: the kind of bitmap CF_BITMAP stands for.
UniqueBitmap BitmapFromImage(const Image32& image) {
  if (image.empty()) return {};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // rows top-down, as Image32 keeps them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const ScreenDc screen;
  if (!screen.get()) return {};
  return UniqueBitmap(::CreateDIBitmap(screen.get(), &info.bmiHeader, CBM_INIT, image.pixels.data(), &info,
                                       DIB_RGB_COLORS));
}

}  // namespace

UniqueBitmap LoadBitmapFromBytes(const Bytes& picture) {
  if (picture.empty() || picture.size() > LONG_MAX) return {};
  UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, picture.size()));
  if (!block) return {};
  {
    const class GlobalLock lock(block.get());
    if (!lock.data()) return {};
    std::memcpy(lock.data(), picture.data(), picture.size());
  }
  const ComScope com;
  ComPtr<IStream> stream;
  // The stream leaves the block to its owner here.
  if (::CreateStreamOnHGlobal(block.get(), FALSE, stream.put()) != S_OK || !stream) return {};
  ComPtr<IPicture> loaded;
  if (::OleLoadPicture(stream.get(), 0, FALSE, IID_IPicture, loaded.put_void()) != S_OK || !loaded) return {};
  SHORT type = PICTYPE_NONE;
  if (loaded->get_Type(&type) != S_OK || type != PICTYPE_BITMAP) return {};
  OLE_HANDLE handle = 0;
  if (CallBySlot<HRESULT>(loaded.get(), 3, &handle) != S_OK || handle == 0) return {};  // get_Handle
  // OLE_HANDLE carries the handle's low 32 bits; handles are sign-extended back to pointer size.
  const auto owned = reinterpret_cast<HBITMAP>(static_cast<LONG_PTR>(static_cast<LONG>(handle)));
  // A new bitmap (no LR_COPYRETURNORG): the picture object deletes its own when released below.
  return UniqueBitmap(static_cast<HBITMAP>(::CopyImage(owned, IMAGE_BITMAP, 0, 0, 0)));
}

void CopyPictureToClipboard(const Bytes& picture) {
  try {
    if (picture.empty()) return;
    const ComScope com;
    UniqueBitmap bitmap;
    // PNG and WebP always take the program's decoder: Windows' loader reads neither, and Wine's
    // reads PNG but turns partial transparency into a black-backed mask.
    if (!IsPngFile(picture) && !IsWebpFile(picture)) bitmap = LoadBitmapFromBytes(picture);
    if (!bitmap) bitmap = BitmapFromImage(OverWhite(DecodeImage(picture)));
    if (!bitmap) return;
    const OpenedClipboard clipboard;
    if (!clipboard.opened()) return;
    ::EmptyClipboard();
    // From here on the clipboard owns the bitmap; a refused one stays ours and is deleted.
    if (::SetClipboardData(CF_BITMAP, bitmap.get()) != nullptr) (void)bitmap.release();
  } catch (...) {
    // Out of memory while decoding: as an undecodable picture.
  }
}
