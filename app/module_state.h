#pragma once
// Module state of the program, alive from start-up to exit.
#include "util/module_state.h"
#include "util/text.h"

// The file that mode 1 extracted last; empty at start.
inline Text currentIconPath;
