#pragma once
// The main window opened in the test's own process the way start-up opens it: OLE, the drop target,
// the drag source, the console code page and the OS version, then the window. Closing undoes it.
// Suites keep one for all their tests: under Wine without a window manager each destroyed window
// costs about two seconds.
#include <memory>

#include "app/main_window_win.h"
#include "util/com_ptr.h"

class StartedProgram {
 public:
  StartedProgram();
  ~StartedProgram();
  StartedProgram(const StartedProgram&) = delete;
  StartedProgram& operator=(const StartedProgram&) = delete;

  // Null when the window could not be created.
  [[nodiscard]] MainWindow* window() const noexcept { return window_.get(); }

 private:
  OleScope ole_;  // first in, last out
  std::unique_ptr<MainWindow> window_;
};
