#pragma once
// Pattern (VBScript.RegExp / JScript dialect) -> program for the built-in engine.
#include <optional>
#include <string_view>

#include "regex/regexp_program.h"

// Empty when the pattern is invalid, uses what the engine cannot run in linear time (back-references,
// lookahead), or exceeds the size bounds of regexp_program.h.
std::optional<RegExpProgram> CompileRegExp(std::u16string_view pattern, bool ignoreCase, bool multiline);
