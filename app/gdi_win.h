#pragma once
// Owners for the GDI objects the window code makes.
#include "util/unique_resource.h"

namespace detail {
inline void DeleteFontValue(HFONT h) noexcept { ::DeleteObject(h); }
inline void DeleteDcValue(HDC h) noexcept { ::DeleteDC(h); }
}  // namespace detail

using UniqueFont = UniqueResource<HFONT, detail::DeleteFontValue>;
using UniqueMemoryDc = UniqueResource<HDC, detail::DeleteDcValue>;

// Selects an object into a DC for the guard's lifetime.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (old_) ::SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A top-down 32-bit DIB section of the given pixels (premultiplied B, G, R, A); null on failure.
struct Image32;
UniqueBitmap CreateBitmapFromImage(const Image32& image);
