#include "tests/app/test_support_win.h"

#include <cstdlib>

void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW data{};
  const HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        ::DeleteFileW(child.c_str());
      }
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
  }
  ::RemoveDirectoryW(path.c_str());
}

namespace {

Capture FromMemoryDc(HWND hwnd, bool fromScreen) {
  Capture capture;
  RECT rc{};
  ::GetClientRect(hwnd, &rc);
  capture.width = rc.right;
  capture.height = rc.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = rc.right;
  info.bmiHeader.biHeight = -rc.bottom;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HDC memory = ::CreateCompatibleDC(nullptr);
  const HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = ::SelectObject(memory, bitmap);
  if (fromScreen) {
    const HDC window = ::GetDC(hwnd);
    ::BitBlt(memory, 0, 0, rc.right, rc.bottom, window, 0, 0, SRCCOPY);
    ::ReleaseDC(hwnd, window);
  } else {
    ::SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  }
  ::GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  capture.pixels.assign(p, p + static_cast<std::size_t>(rc.right) * rc.bottom);
  for (auto& v : capture.pixels) v &= 0xFFFFFFu;
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  return capture;
}

}  // namespace

std::wstring TestExeDirectory() {
  wchar_t path[MAX_PATH * 4] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  std::wstring s = path;
  return s.substr(0, s.find_last_of(L'\\'));
}

Bytes ReadWholeFile(const std::wstring& path) {
  const HANDLE file =
      ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  LARGE_INTEGER size{};
  ::GetFileSizeEx(file, &size);
  Bytes bytes(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty()) ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  ::CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

bool WriteWholeFileForTest(const std::wstring& path, const Bytes& bytes) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  return ok && written == bytes.size();
}

TempDirectory::TempDirectory() {
  wchar_t base[MAX_PATH + 1] = {};
  ::GetTempPathW(MAX_PATH + 1, base);
  static unsigned counter = 0;
  for (;;) {
    path_ = std::wstring(base) + L"fennlow-app-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    if (::CreateDirectoryW(path_.c_str(), nullptr)) break;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) std::abort();
  }
}

TempDirectory::~TempDirectory() { RemoveTree(path_); }

void PumpMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

Rgb Capture::At(int x, int y) const {
  const std::uint32_t v = pixels.at(static_cast<std::size_t>(y) * width + x);
  return {static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF)};
}

Capture PrintClient(HWND hwnd) { return FromMemoryDc(hwnd, false); }
Capture CaptureFromScreen(HWND hwnd) { return FromMemoryDc(hwnd, true); }

bool Near(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

Rgb ColorRefToRgb(COLORREF c) {
  return {static_cast<int>(GetRValue(c)), static_cast<int>(GetGValue(c)), static_cast<int>(GetBValue(c))};
}
