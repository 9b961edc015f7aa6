#pragma once
// Runs a command line through the system command interpreter with a hidden console and collects
// everything it writes to standard output and standard error (one pipe). Blocks until the
// interpreter ends. The child's standard input is at its end from the start, and the child
// inherits no handle but its standard ones.
#include <cstdint>
#include <functional>

#include "util/text.h"

// Called once per chunk read, with the zero-terminated chunk (bytes, or UTF-16 with decodeToWide).
// The pointer is valid only during the call. A non-zero result stops the reading.
using OutputChunkCallback = std::function<std::int32_t(const void* chunk)>;

// The collected output as Text (up to its first zero byte); empty when nothing came or nothing ran.
Text RunConsoleCommand(const Text& command, const OutputChunkCallback& callback = {}, bool useCallback = false);

// `command` is UTF-16 with its terminator. Returns the raw output plus one zero byte, or with
// decodeToWide its UTF-16 form (consoleCodePage) with terminator; empty when nothing was read.
Bytes CaptureConsoleOutput(const WideText& command, const OutputChunkCallback& callback, bool useCallback,
                           bool decodeToWide);
