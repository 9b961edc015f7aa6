#pragma once
// The run directory in UTF-16, for files the program writes there itself (no code-page loss).
#include <string>

#include "util/windows_prelude.h"

// The directory that holds the program's executable, without a trailing separator; empty on failure.
std::wstring RunDirectoryWide();
