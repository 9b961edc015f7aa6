#include "app/program.h"
#include "util/windows_prelude.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return RunProgram(); }
