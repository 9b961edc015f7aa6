// Prints where the controls of the window whose caption starts with argv[1] are on the screen, so
// that a test driving the program from outside knows where a person would click.
//   window_probe "Fennlow"  ->  one line per control: class|left|top|right|bottom|caption (code page 936)
#include <cstdio>
#include <string>

#include "util/codepage.h"
#include "util/windows_prelude.h"

namespace {

struct Search {
  std::wstring prefix;
  HWND found = nullptr;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM lParam) {
  auto& search = *reinterpret_cast<Search*>(lParam);
  wchar_t caption[512] = {};
  ::GetWindowTextW(hwnd, caption, 512);
  if (::IsWindowVisible(hwnd) && std::wstring(caption).starts_with(search.prefix)) {
    search.found = hwnd;
    return FALSE;
  }
  return TRUE;
}

void PrintWindow(HWND hwnd) {
  wchar_t className[256] = {};
  wchar_t caption[512] = {};
  ::GetClassNameW(hwnd, className, 256);
  ::GetWindowTextW(hwnd, caption, 512);
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  const std::u16string cls(className, className + ::lstrlenW(className));
  const std::u16string text(caption, caption + ::lstrlenW(caption));
  std::printf("%s|%ld|%ld|%ld|%ld|%s\n", Utf16ToText(cls).c_str(), r.left, r.top, r.right, r.bottom,
              Utf16ToText(text).c_str());
}

BOOL CALLBACK PrintChild(HWND hwnd, LPARAM) {
  PrintWindow(hwnd);
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  Search search{argv[1]};
  ::EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return 1;
  POINT origin{0, 0};
  ::ClientToScreen(search.found, &origin);
  std::printf("client|%ld|%ld|0|0|\n", origin.x, origin.y);
  PrintWindow(search.found);
  ::EnumChildWindows(search.found, PrintChild, 0);
  return 0;
}
