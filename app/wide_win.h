#pragma once
// Text (code page 936) <-> the UTF-16 strings of the W functions, through the program's own
// conversions.
#include <string>

#include "util/codepage.h"
#include "util/text.h"

inline std::wstring ToWideString(const Text& text) {
  const std::u16string wide = TextToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

inline Text FromWideString(const std::wstring& wide) {
  return Utf16ToText(std::u16string(wide.begin(), wide.end()));
}
