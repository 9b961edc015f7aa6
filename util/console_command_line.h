#pragma once
// How the runner hands a command to the system command interpreter.
#include <cstddef>
#include <cstdint>

#include "util/text.h"

// Size of the command-line buffer: 32767 UTF-16 units, the most the system takes with the terminator.
inline constexpr std::size_t kCommandLineBytes = 65534;

// Size of the interpreter path buffer: 260 UTF-16 units with the terminator.
inline constexpr std::size_t kInterpreterPathBytes = 520;

// "\cmd.exe" from Windows 5.1 on, "\command.com" below (a version word of 0 means unknown: below).
Text InterpreterSuffix(std::int32_t versionWord);

// The system folder (UTF-16 without terminator) + the suffix for `versionWord`, with terminator;
// empty when the folder is empty or the whole path would not fit the interpreter path buffer.
WideText InterpreterPath(const WideText& systemFolder, std::int32_t versionWord);

// " /c " + `command` (UTF-16 with terminator), zero-filled to kCommandLineBytes when shorter;
// a longer value is returned unchanged.
WideText BuildCommandLine(const WideText& command);

// Whether the system would take the command line: its text up to the first zero unit, plus the
// terminator, fits the command-line buffer.
bool CommandLineFits(const WideText& commandLine);
