#include "tests/app/started_program_win.h"

#include "app/module_state.h"
#include "app/program.h"
#include "dnd/drag_source.h"
#include "dnd/drop_target.h"
#include "tests/app/test_support_win.h"
#include "util/module_state.h"
#include <ole2.h>

StartedProgram::StartedProgram() : oleResult_(::OleInitialize(nullptr)) {
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
  if (SUCCEEDED(oleResult_)) ::OleUninitialize();
}
