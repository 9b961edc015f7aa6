#include "app/program.h"

#include "app/main_window_win.h"
#include "app/module_state.h"
#include "app/run_directory_win.h"
#include "app/tool_images_win.h"
#include "dnd/drag_source.h"
#include "dnd/drop_target.h"
#include "extract/import.h"
#include "util/com_ptr.h"
#include "util/windows_prelude.h"
#include <commctrl.h>
#include <ole2.h>

namespace {

// The exit routine, registered for the end of the program: it runs once the message loop is over
// and the window is gone, while OLE is still initialised.
class ExitRoutine {
 public:
  explicit ExitRoutine(void (*routine)()) noexcept : routine_(routine) {}
  ExitRoutine(const ExitRoutine&) = delete;
  ExitRoutine& operator=(const ExitRoutine&) = delete;
  ~ExitRoutine() { routine_(); }

 private:
  void (*routine_)();
};

void WriteToolImage(const std::wstring& directory, const wchar_t* name, std::span<const std::uint8_t> image) {
  if (directory.empty() || image.empty()) return;
  WriteHiddenFile(directory + L"\\" + name, image);  // failure leaves the old copy in use
}

}  // namespace

int RunProgram() {
  // 1. The toolkit's own initialisation: OLE on this thread, then the common controls.
  const OleScope ole;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);

  // 2. Drag and drop: the window's drop target (installed once the window exists), the picture
  //    box's drag source and its data-object template; formatStore starts empty.
  dropTargetObject = std::make_unique<FileDropTarget>();
  SetUpDragSource();

  // 3. The exit routine.
  const ExitRoutine exitRoutine(&ReleaseModuleState);

  // 4. Before the window: installing the drop target reads osVersionWord.
  consoleCodePage = 936;
  osVersionWord = ReadOsVersionWord();

  // 5. The window; its created event runs OnMainWindowCreated.
  const auto window = MainWindow::Create(&OnMainWindowCreated, SW_SHOWDEFAULT, true);
  if (!window) return 0;

  // 6.
  RunMessageLoop(window->hwnd());
  return 0;
}

void OnMainWindowCreated() {
  const std::wstring directory = RunDirectoryWide();
  WriteToolImage(directory, L"pt.exe", AaptImage());
  WriteToolImage(directory, L"uz.exe", UnzipImage());
  MainWindow* window = CurrentMainWindow();
  if (!window) return;
  // Dropped names arrive whole and in code page 936, whatever the system's ANSI code page.
  if (dropTargetObject) dropTargetObject->Install(window->hwnd(), &OnFileDropped);
  if (PictureBox* box = window->Picture()) box->SetLeftButtonHandler(&OnPictureBoxLeftButtonDown);
}

void ReleaseModuleState() {
  currentIconPath = Text();
  dropTargetObject.reset();
  // Also empties formatStore; each COM object keeps its own interface list, so there is no
  // separate registry left to free.
  DestroyDragSource();
}
