#include <algorithm>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/main_window_win.h"
#include "app/wide_win.h"
#include "util/windows_prelude.h"
#include <commdlg.h>

namespace {

// 通用对话框1's file name: offered by each use, replaced by each confirmed one, open or save.
std::wstring& DialogFileName() {
  static std::wstring name;
  return name;
}

// "description|pattern" pairs -> the system's NUL-separated list with its double NUL. Split after
// conversion: in code page 936 the byte of "|" can also be the second byte of a character.
std::wstring SystemFilter(const Text& filter) {
  std::wstring wide = ToWideString(filter);
  if (wide.size() < 2 || wide.compare(wide.size() - 2, 2, L"||") != 0) wide += L"||";
  std::replace(wide.begin(), wide.end(), L'|', L'\0');
  return wide;
}

}  // namespace

bool ShowFileDialog(FileDialogKind kind, const Text& filter, Text& fileName) {
  const std::wstring systemFilter = SystemFilter(filter);
  std::vector<wchar_t> buffer(32768, L'\0');
  const std::wstring& offered = DialogFileName();
  std::copy_n(offered.begin(), std::min(offered.size(), buffer.size() - 1), buffer.begin());

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  const MainWindow* window = CurrentMainWindow();
  ofn.hwndOwner = window ? window->hwnd() : nullptr;
  ofn.lpstrFilter = systemFilter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST |
              (kind == FileDialogKind::Open ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT);
  const BOOL confirmed = kind == FileDialogKind::Open ? ::GetOpenFileNameW(&ofn) : ::GetSaveFileNameW(&ofn);
  if (!confirmed) return false;
  DialogFileName() = buffer.data();
  fileName = FromWideString(DialogFileName());
  return true;
}
