#pragma once
// Showing a file in an Explorer window.
#include "util/text.h"

// Opens the folder of path (code page 936) with the file selected, in rename mode when startRename
// is set. True exactly when the shell reports success; false without asking it when the path is
// empty, the file does not exist or the shell cannot name it.
bool ShowInExplorer(const Text& path, bool startRename);
