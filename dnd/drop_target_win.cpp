#include "dnd/drop_target.h"

#include <commctrl.h>

#include <string>

#include "dnd/message_filter.h"
#include "util/codepage.h"
#include "util/module_state.h"
#include "util/unique_resource.h"

namespace {

using UniqueDrop = UniqueResource<HDROP, ::DragFinish>;

LRESULT CALLBACK DropSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR target) noexcept {
  return reinterpret_cast<FileDropTarget*>(target)->WindowProc(window, message, wParam, lParam);
}

UINT_PTR SubclassId(const FileDropTarget* target) noexcept { return reinterpret_cast<UINT_PTR>(target); }

// Looked up by name: the function exists from Windows 6.0 on, and the program must still load before.
void AllowDropMessages() noexcept {
  const auto messages = DropMessagesToAllow(osVersionWord);
  if (messages.empty()) return;
  using ChangeFilter = BOOL(WINAPI*)(UINT message, DWORD flag);
  const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  const auto change = reinterpret_cast<ChangeFilter>(
      reinterpret_cast<void (*)()>(user32 ? ::GetProcAddress(user32, "ChangeWindowMessageFilter") : nullptr));
  if (!change) return;
  for (std::uint32_t message : messages) change(message, MSGFLT_ADD);
}

std::u16string DroppedName(HDROP drop, UINT index) {
  const UINT length = ::DragQueryFileW(drop, index, nullptr, 0);
  std::u16string name(length, u'\0');
  const UINT copied = ::DragQueryFileW(drop, index, reinterpret_cast<LPWSTR>(name.data()), length + 1);
  name.resize(copied <= length ? copied : length);
  return name;
}

std::u16string ShortPathName(const std::u16string& path) {
  const auto* longPath = reinterpret_cast<LPCWSTR>(path.c_str());
  const DWORD length = ::GetShortPathNameW(longPath, nullptr, 0);
  if (length == 0) return {};
  std::u16string shortPath(length, u'\0');
  const DWORD copied = ::GetShortPathNameW(longPath, reinterpret_cast<LPWSTR>(shortPath.data()), length);
  if (copied == 0 || copied >= length) return {};
  shortPath.resize(copied);
  return shortPath;
}

// The name in the program's code page. A name with characters that code page lacks is given in its
// short form, which names the same file; when there is none, the closest conversion is all there is.
Text NameInProgramCodePage(const std::u16string& name) {
  Text text = Utf16ToText(name);
  if (TextToUtf16(text) == name) return text;
  const std::u16string shortName = ShortPathName(name);
  if (!shortName.empty()) {
    Text shortText = Utf16ToText(shortName);
    if (TextToUtf16(shortText) == shortName) return shortText;
  }
  return text;
}

}  // namespace

FileDropTarget::~FileDropTarget() { Uninstall(); }

WNDPROC FileDropTarget::Install(HWND window, DropCallback callback) noexcept {
  return InstallWith(window, callback, nullptr);
}

WNDPROC FileDropTarget::Install(HWND window, WideDropCallback callback) noexcept {
  return InstallWith(window, nullptr, callback);
}

WNDPROC FileDropTarget::InstallWith(HWND window, DropCallback callback, WideDropCallback wideCallback) noexcept {
  if (subclassed_) Uninstall();
  hwnd_ = window;
  callback_ = callback;
  wideCallback_ = wideCallback;
  AllowDropMessages();
  const auto previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
  // Files are accepted only once the window's procedure can answer them.
  if (!previous || !::SetWindowSubclass(window, DropSubclassProc, SubclassId(this), reinterpret_cast<DWORD_PTR>(this))) {
    return nullptr;
  }
  subclassed_ = true;
  previousProc_ = previous;
  ::DragAcceptFiles(window, TRUE);
  return previous;
}

void FileDropTarget::Uninstall() noexcept {
  if (hwnd_) ::DragAcceptFiles(hwnd_, FALSE);
  if (subclassed_) {
    // Our subclass alone on the window: removing it puts the previous procedure back exactly.
    ::RemoveWindowSubclass(hwnd_, DropSubclassProc, SubclassId(this));
    subclassed_ = false;
  }
  previousProc_ = nullptr;
  callback_ = nullptr;
  wideCallback_ = nullptr;
}

LRESULT FileDropTarget::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_DROPFILES) {
    HandleDrop(reinterpret_cast<HDROP>(wParam));
    return 0;
  }
  if (message == WM_NCDESTROY) {
    // The window is going away; its subclass must go first.
    ::RemoveWindowSubclass(window, DropSubclassProc, SubclassId(this));
    subclassed_ = false;
    previousProc_ = nullptr;
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

void FileDropTarget::HandleDrop(HDROP handle) noexcept {
  const UniqueDrop drop(handle);  // DragFinish in every case
  const UINT count = ::DragQueryFileW(drop.get(), 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    // Each callback runs to completion (a whole import) before the next name is read; a failure
    // with one file leaves the next ones to run.
    try {
      const std::u16string name = DroppedName(drop.get(), i);
      // Some readers count an empty list ("\0\0") as one empty name; it names no file.
      if (name.empty()) continue;
      if (wideCallback_) {
        wideCallback_(reinterpret_cast<const wchar_t*>(name.c_str()));
      } else if (callback_) {
        callback_(NameInProgramCodePage(name).c_str());
      }
    } catch (...) {
    }
  }
}
