#include "app/main_window_win.h"

#include <utility>

#include "app/form.h"
#include "app/main_window.h"
#include "app/wide_win.h"
#include "picture/actions.h"
#include "picture/image_decode.h"
#include "extract/import.h"

namespace {

constexpr wchar_t kClassName[] = L"FennlowMainWindow";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

MainWindow* currentMainWindow = nullptr;

// The picture property of 图片框1: the bytes exactly as assigned, also while no window exists.
Bytes& PictureStore() {
  static Bytes bytes;
  return bytes;
}

// The system's message font (what dialogs use), so the captions come out in a face that has the
// Chinese characters; the stock GUI font when it cannot be had.
UniqueFont CreateUiFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return {};
  return UniqueFont(::CreateFontIndirectW(&metrics.lfMessageFont));
}

bool RegisterMainWindowClass(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hIcon = static_cast<HICON>(::LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                                             ::GetSystemMetrics(SM_CYICON), LR_SHARED));
  wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON,
                                               ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                               LR_SHARED));
  wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kClassName;
  return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

std::unique_ptr<MainWindow> MainWindow::Create(CreatedHandler onCreated, int showCommand, bool quitOnDestroy) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!RegisterMainWindowClass(instance, &MainWindow::WindowProc)) return nullptr;
  std::unique_ptr<MainWindow> window(new MainWindow());
  window->quitOnDestroy_ = quitOnDestroy;
  const std::wstring caption = ToWideString(kMainWindowCaption);
  if (!::CreateWindowExW(0, kClassName, caption.c_str(), kWindowStyle, kMainWindowLeft, kMainWindowTop,
                         kMainWindowWidth, kMainWindowHeight, nullptr, nullptr, instance, window.get())) {
    return nullptr;
  }
  if (!window->pictureBox_) return nullptr;
  currentMainWindow = window.get();
  // What the picture property already holds shows in the new box.
  if (!PictureStore().empty()) window->pictureBox_->SetImage(DecodeImage(PictureStore()));
  if (onCreated) onCreated();
  ::ShowWindow(window->hwnd_, showCommand);
  ::UpdateWindow(window->hwnd_);
  return window;
}

MainWindow::~MainWindow() {
  if (currentMainWindow == this) currentMainWindow = nullptr;
  if (hwnd_) ::DestroyWindow(hwnd_);
}

HWND MainWindow::Control(int id) const noexcept { return hwnd_ ? ::GetDlgItem(hwnd_, id) : nullptr; }

bool MainWindow::CreateControls() {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  font_ = CreateUiFont();
  const HFONT font = font_ ? font_.get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  for (const FormControl& c : kFormControls) {
    HWND control = nullptr;
    if (c.kind == ControlKind::PictureBox) {
      pictureBox_ = PictureBox::Create(hwnd_, c.id, c.left, c.top, c.width, c.height);
      if (pictureBox_) control = pictureBox_->hwnd();
    } else {
      DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
      if (c.kind == ControlKind::PushButton) style |= BS_PUSHBUTTON | WS_GROUP;
      if (c.kind == ControlKind::RadioButton) style |= BS_AUTORADIOBUTTON;
      if (c.id == kRadio1) style |= WS_GROUP;  // the two radio buttons form one group
      const std::wstring caption = ToWideString(c.caption);
      control = ::CreateWindowExW(0, L"BUTTON", caption.c_str(), style, c.left, c.top, c.width, c.height, hwnd_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
    }
    if (!control) return false;
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  ::SendMessageW(Control(kRadio1), BM_SETCHECK, BST_CHECKED, 0);
  return true;
}

void MainWindow::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case kButton1:
      OnImportClicked();
      break;
    case kButton2:
      OnCopyClicked();
      break;
    case kButton3:
      OnSaveClicked();
      break;
    case kButton4:
      OnLocateClicked();
      break;
    default:
      break;
  }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      try {
        return CreateControls() ? 0 : -1;
      } catch (...) {
        return -1;  // no window rather than one without its controls
      }
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DESTROY:
      if (quitOnDestroy_) ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* window = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    window->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!window) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    window->hwnd_ = nullptr;
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
  try {
    return window->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // A handler ran out of memory: it has stopped, the window goes on.
    return 0;
  }
}

MainWindow* CurrentMainWindow() noexcept { return currentMainWindow; }

void RunMessageLoop(HWND window) {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (window && ::IsWindow(window) && ::IsDialogMessageW(window, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

int Mode1Checked() {
  MainWindow* window = CurrentMainWindow();
  // Without a window the form's initial state holds: mode 1.
  if (!window || !window->hwnd()) return 1;
  return ::SendMessageW(window->Control(kRadio1), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void SetPictureBytes(const Bytes& bytes) {
  PictureStore() = bytes;
  MainWindow* window = CurrentMainWindow();
  if (window && window->Picture()) window->Picture()->SetImage(DecodeImage(bytes));
}

const Bytes& PictureBytes() { return PictureStore(); }
