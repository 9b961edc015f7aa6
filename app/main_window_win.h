#pragma once
// MainWindow: the program's one top-level window with the controls of its form.
#include <memory>

#include "app/gdi_win.h"
#include "app/picture_box_win.h"

class MainWindow {
 public:
  using CreatedHandler = void (*)();

  // Creates the window and its controls, then raises the created event (`onCreated`, may be null)
  // and shows the window with `showCommand`. With `quitOnDestroy` the window ends the thread's
  // message loop when it is destroyed. Null on failure.
  static std::unique_ptr<MainWindow> Create(CreatedHandler onCreated, int showCommand, bool quitOnDestroy);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Null once the window has been destroyed.
  [[nodiscard]] HWND hwnd() const noexcept { return hwnd_; }
  [[nodiscard]] HWND Control(int id) const noexcept;
  [[nodiscard]] PictureBox* Picture() noexcept { return pictureBox_.get(); }

 private:
  MainWindow() = default;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool CreateControls();
  void OnCommand(int id, int code);

  HWND hwnd_ = nullptr;
  bool quitOnDestroy_ = false;
  UniqueFont font_;
  std::unique_ptr<PictureBox> pictureBox_;
};

// The main window while it exists (the one created last), else null.
[[nodiscard]] MainWindow* CurrentMainWindow() noexcept;

// Runs the thread's message loop until WM_QUIT, with keyboard navigation between the controls of
// `window`.
void RunMessageLoop(HWND window);
