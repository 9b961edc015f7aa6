#pragma once
// Helpers of the shell's Windows tests: files, pixels and message pumping.
#include <cstdint>
#include <string>
#include <vector>

#include "util/text.h"
#include "util/windows_prelude.h"

// The directory of the running test executable (where the build puts Fennlow.exe too).
std::wstring TestExeDirectory();

Bytes ReadWholeFile(const std::wstring& path);
bool WriteWholeFileForTest(const std::wstring& path, const Bytes& bytes);

// Removes a folder with everything in it, read-only files too.
void RemoveTree(const std::wstring& path);

// A new empty directory under the temporary folder, removed with its contents by the destructor.
class TempDirectory {
 public:
  TempDirectory();
  ~TempDirectory();
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;
  [[nodiscard]] const std::wstring& path() const noexcept { return path_; }
  [[nodiscard]] std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// Handles the thread's pending messages.
void PumpMessages();

struct Rgb {
  int r;
  int g;
  int b;
};

// 32-bit top-down pixels captured from a window.
struct Capture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB
  [[nodiscard]] Rgb At(int x, int y) const;
};

// The client area as its own paint code draws it (WM_PRINTCLIENT into a memory bitmap).
Capture PrintClient(HWND hwnd);
// The client area as it is on the display (copied from the window's DC).
Capture CaptureFromScreen(HWND hwnd);

// True when each channel differs by at most `tolerance`.
bool Near(Rgb a, Rgb b, int tolerance);
Rgb ColorRefToRgb(COLORREF c);
