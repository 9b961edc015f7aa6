#include "app/picture_box_win.h"

#include <utility>

#include "app/gdi_win.h"

namespace {

constexpr wchar_t kClassName[] = L"FennlowPictureBox";

bool RegisterPictureBoxClass(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kClassName;
  return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

std::unique_ptr<PictureBox> PictureBox::Create(HWND parent, int id, int left, int top, int width, int height) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!RegisterPictureBoxClass(instance, &PictureBox::WindowProc)) return nullptr;
  std::unique_ptr<PictureBox> box(new PictureBox());
  const HWND hwnd = ::CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_GROUP, left,
                                      top, width, height, parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, box.get());
  if (!hwnd) return nullptr;
  return box;
}

PictureBox::~PictureBox() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

void PictureBox::SetImage(Image32 image) {
  image_ = std::move(image);
  RebuildScaled();
  if (hwnd_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::RebuildScaled() {
  scaled_.reset();
  scaledWidth_ = scaledHeight_ = 0;
  if (image_.empty() || !hwnd_) return;
  RECT rc{};
  ::GetClientRect(hwnd_, &rc);
  // Scaled once here rather than stretched at every paint: GDI's own stretching either drops
  // pixels or mishandles alpha, and under Wine it does both.
  scaled_ = CreateBitmapFromImage(ScaleImage(image_, rc.right, rc.bottom));
  if (scaled_) {
    scaledWidth_ = rc.right;
    scaledHeight_ = rc.bottom;
  }
}

void PictureBox::Paint(HDC dc) const {
  RECT rc{};
  ::GetClientRect(hwnd_, &rc);
  const HBRUSH background = ::GetSysColorBrush(COLOR_BTNFACE);
  // Composed off screen, so the background never shows through for a moment.
  UniqueMemoryDc memory(::CreateCompatibleDC(dc));
  UniqueBitmap canvas(::CreateCompatibleBitmap(dc, rc.right, rc.bottom));
  if (!memory || !canvas) {
    ::FillRect(dc, &rc, background);
    return;
  }
  const SelectGuard selectCanvas(memory.get(), canvas.get());
  ::FillRect(memory.get(), &rc, background);
  if (scaled_) {
    UniqueMemoryDc source(::CreateCompatibleDC(dc));
    if (source) {
      const SelectGuard selectPicture(source.get(), scaled_.get());
      const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      ::GdiAlphaBlend(memory.get(), 0, 0, scaledWidth_, scaledHeight_, source.get(), 0, 0, scaledWidth_,
                      scaledHeight_, blend);
    }
  }
  ::BitBlt(dc, 0, 0, rc.right, rc.bottom, memory.get(), 0, 0, SRCCOPY);
}

LRESULT PictureBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (const HDC dc = ::BeginPaint(hwnd_, &ps)) {
        Paint(dc);
        ::EndPaint(hwnd_, &ps);
      }
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SIZE:
      RebuildScaled();
      ::InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
      if (onLeftButtonDown_) onLeftButtonDown_();
      return 0;
    default:
      return ::DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

LRESULT CALLBACK PictureBox::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* box = static_cast<PictureBox*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    box->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box));
  }
  auto* box = reinterpret_cast<PictureBox*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!box) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    box->hwnd_ = nullptr;
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
  try {
    return box->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // Out of memory while scaling: the box shows what it can; nothing crosses into the system.
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
}
