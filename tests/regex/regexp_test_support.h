#pragma once
// The engines a wrapper test runs against: the built-in one everywhere, and on Windows also the
// system's VBScript.RegExp, with the same expectations.
#include <string>
#include <vector>

#include "regex/regexp_wrapper.h"

#ifdef _WIN32
#include "util/windows_prelude.h"

// Wine identifies itself through an export of its ntdll.
inline bool RunningUnderWine() {
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}
#endif

inline std::vector<RegExpEngineKind> EnginesUnderTest() {
#ifdef _WIN32
  return {RegExpEngineKind::BuiltIn, RegExpEngineKind::System};
#else
  return {RegExpEngineKind::BuiltIn};
#endif
}

inline std::string EngineName(RegExpEngineKind kind) {
  switch (kind) {
    case RegExpEngineKind::BuiltIn:
      return "BuiltIn";
    case RegExpEngineKind::System:
      return "VBScript";
    case RegExpEngineKind::Automatic:
      return "Automatic";
  }
  return "Unknown";
}
