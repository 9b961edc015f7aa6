#include "tests/app/started_program_win.h"

#include "app/module_state.h"
#include "app/program.h"
#include "dnd/drag_source.h"
#include "dnd/drop_target.h"
#include "tests/app/test_support_win.h"
#include "util/module_state.h"

StartedProgram::StartedProgram() {
  dropTargetObject = std::make_unique<FileDropTarget>();
  SetUpDragSource();
  consoleCodePage = 936;
  osVersionWord = ReadOsVersionWord();
  window_ = MainWindow::Create(&OnMainWindowCreated, SW_SHOWNORMAL, false);
}

StartedProgram::~StartedProgram() {
  window_.reset();
  PumpMessages();
  ReleaseModuleState();
}
