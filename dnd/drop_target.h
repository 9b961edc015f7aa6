#pragma once
// Files dropped on a window (the shell's WM_DROPFILES protocol): each dropped name goes to a callback,
// one call per file in the order the drop lists them; every other message reaches the window's
// previous procedure unchanged.
#include <memory>

#include "util/windows_prelude.h"
#include <shellapi.h>

// A dropped name as zero-terminated text in code page 936. It is valid only during the call.
using DropCallback = void (*)(const char* path);
// A dropped name as zero-terminated UTF-16. It is valid only during the call.
using WideDropCallback = void (*)(const wchar_t* path);

class FileDropTarget {
 public:
  FileDropTarget() noexcept = default;
  FileDropTarget(const FileDropTarget&) = delete;
  FileDropTarget& operator=(const FileDropTarget&) = delete;
  ~FileDropTarget();  // Uninstall

  // Subclasses `window`, lets the drop messages through the message filter from Windows 6.0 on
  // (osVersionWord) and accepts files. Names arrive whole, in code page 936, or with the wide form as
  // UTF-16. Returns the procedure that was in place before; null when the window was not subclassed.
  WNDPROC Install(HWND window, DropCallback callback) noexcept;
  WNDPROC Install(HWND window, WideDropCallback callback) noexcept;

  // Stops accepting files and restores the previous procedure exactly; repeating it only repeats the
  // former. hwnd() keeps its value.
  void Uninstall() noexcept;

  // The subclassed window's procedure: WM_DROPFILES here, everything else to the previous procedure.
  LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  [[nodiscard]] HWND hwnd() const noexcept { return hwnd_; }
  [[nodiscard]] WNDPROC previousProc() const noexcept { return previousProc_; }
  [[nodiscard]] bool wideNames() const noexcept { return wideCallback_ != nullptr; }
  [[nodiscard]] bool installed() const noexcept { return subclassed_; }

 private:
  WNDPROC InstallWith(HWND window, DropCallback callback, WideDropCallback wideCallback) noexcept;
  void HandleDrop(HDROP drop) noexcept;

  HWND hwnd_ = nullptr;
  WNDPROC previousProc_ = nullptr;
  DropCallback callback_ = nullptr;
  WideDropCallback wideCallback_ = nullptr;
  bool subclassed_ = false;
};

// The program's drop target: created at start-up, installed on the main window by its creation
// handler, destroyed at the module exit.
inline std::unique_ptr<FileDropTarget> dropTargetObject;
