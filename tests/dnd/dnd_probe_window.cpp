// A small window for the real drag-and-drop test, driven from outside with the X mouse.
//   dnd_probe_window source X Y ICONPATH OUTFILE  picture box at client (16, 16); a press drags
//                                          ICONPATH out, then the state after the drag goes to OUTFILE
//   dnd_probe_window target X Y OUTFILE   OLE drop target; writes the dropped CF_HDROP names (UTF-8)
//   dnd_probe_window drop X Y OUTFILE     FileDropTarget; writes each name it is given as hex bytes
// Each mode ends after its one drag or drop, or after 60 seconds.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/module_state.h"
#include "dnd/drag_source.h"
#include "dnd/drop_target.h"
#include "util/codepage.h"
#include "util/windows_prelude.h"
#include <shellapi.h>

namespace {

std::wstring outFile;

void AppendLine(const std::string& line) {
  FILE* file = _wfopen(outFile.c_str(), L"ab");
  if (!file) return;
  std::fwrite(line.data(), 1, line.size(), file);
  std::fputc('\n', file);
  std::fclose(file);
}

std::string Utf8(const std::wstring& wide) {
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), text.data(), n, nullptr, nullptr);
  return text;
}

void OnDropped(const char* path) {
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (const char* p = path; *p; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    hex += digits[byte >> 4];
    hex += digits[byte & 15];
  }
  AppendLine(hex);
  ::PostQuitMessage(0);  // after the whole drop: the quit is read once this message is done
}

class Target : public IDropTarget {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    *ppv = (riid == IID_IUnknown || riid == IID_IDropTarget) ? this : nullptr;
    return *ppv ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    const HRESULT hr = data->GetData(&format, &medium);
    if (FAILED(hr)) {
      AppendLine("GetData failed");
    } else {
      auto drop = static_cast<HDROP>(medium.hGlobal);
      const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
      for (UINT i = 0; i < count; ++i) {
        std::wstring name(::DragQueryFileW(drop, i, nullptr, 0), L'\0');
        ::DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size() + 1));
        AppendLine(Utf8(name));
      }
      ::ReleaseStgMedium(&medium);
    }
    *effect = DROPEFFECT_COPY;
    ::PostQuitMessage(0);
    return S_OK;
  }
};

LRESULT CALLBACK BoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN) {
    OnPictureBoxLeftButtonDown();
    // The drag is over and every reference given back: the data object must be gone with its entry.
    AppendLine("after drag: formatStore " + std::to_string(formatStore.size()) + ", moduleCount " +
               std::to_string(ModuleCount()));
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) ::PostQuitMessage(1);
  return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow(const wchar_t* title, int x, int y, int width, int height) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSW frame{};
  frame.lpfnWndProc = FrameProc;
  frame.hInstance = instance;
  frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  frame.lpszClassName = L"FennlowDndProbe";
  ::RegisterClassW(&frame);
  HWND window = ::CreateWindowExW(WS_EX_TOPMOST, L"FennlowDndProbe", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y,
                                  width, height, nullptr, nullptr, instance, nullptr);
  ::SetTimer(window, 1, 60000, nullptr);
  return window;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 5) return 2;
  const std::wstring mode = argv[1];
  const int x = _wtoi(argv[2]);
  const int y = _wtoi(argv[3]);
  if (FAILED(::OleInitialize(nullptr))) return 3;
  Target target;
  FileDropTarget dropTarget;
  if (mode == L"source") {
    SetUpDragSource();
    currentIconPath = Utf16ToText(reinterpret_cast<const char16_t*>(argv[4]));
    if (argc > 5) outFile = argv[5];
    HWND window = MakeWindow(L"FennlowDndSource", x, y, 418, 248);
    WNDCLASSW box{};
    box.lpfnWndProc = BoxProc;
    box.hInstance = ::GetModuleHandleW(nullptr);
    box.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    box.lpszClassName = L"FennlowDndBox";
    ::RegisterClassW(&box);
    ::CreateWindowExW(0, L"FennlowDndBox", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 16, 16, 184, 184, window, nullptr,
                      box.hInstance, nullptr);
  } else if (mode == L"target") {
    outFile = argv[4];
    HWND window = MakeWindow(L"FennlowDndTarget", x, y, 300, 240);
    if (FAILED(::RegisterDragDrop(window, &target))) return 4;
  } else if (mode == L"drop") {
    outFile = argv[4];
    HWND window = MakeWindow(L"FennlowDndDrop", x, y, 300, 240);
    dropTarget.Install(window, OnDropped);
  } else {
    return 2;
  }
  MSG message;
  int result = 0;
  while (true) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      result = static_cast<int>(message.wParam);
      break;
    }
    if (got < 0) break;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  DestroyDragSource();
  ::OleUninitialize();
  return result;
}
