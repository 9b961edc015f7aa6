#pragma once
// Text <-> wchar_t strings at the Win32 boundary, in consoleCodePage (never the ANSI code page).
#include <string>
#include <string_view>

#include "util/codepage.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wchar_t is one UTF-16 unit");

// Text up to its first zero byte, as UTF-16 without terminator.
inline std::wstring ToWide(std::string_view text) {
  const std::u16string units = TextToUtf16(text);
  return std::wstring(units.begin(), units.end());
}

// UTF-16 up to its first zero unit, as Text; missing characters become '?'.
inline Text FromWide(std::wstring_view wide) {
  return Utf16ToText(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}
