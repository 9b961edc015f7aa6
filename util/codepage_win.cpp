#include "util/codepage.h"
#include "util/windows_prelude.h"

WideText AnsiToWide(const Bytes& bytes, std::int32_t codePage) {
  Bytes text(bytes);
  text.push_back(0);
  if (text[0] == 0) return {};
  const auto* source = reinterpret_cast<const char*>(text.data());
  const auto cp = static_cast<UINT>(codePage);
  // Length -1: the conversion stops at the first zero byte and counts the terminator.
  const int count = ::MultiByteToWideChar(cp, 0, source, -1, nullptr, 0);
  if (count <= 0) return {};
  WideText wide(static_cast<std::size_t>(count) * 2, 0);
  ::MultiByteToWideChar(cp, 0, source, -1, reinterpret_cast<wchar_t*>(wide.data()), count);
  // Wine's UTF-8 decoder lets a sequence cut off at the end swallow the terminator; callers hand
  // this value to the system as a string, so it must keep one.
  if (wide[wide.size() - 2] != 0 || wide[wide.size() - 1] != 0) wide.insert(wide.end(), {0, 0});
  return wide;
}

Bytes WideToAnsi(const WideText& wide, std::int32_t codePage) {
  // Whole units only, then a zero unit, so lstrlenW never reads past the copy.
  WideText copy(wide.begin(), wide.begin() + static_cast<std::ptrdiff_t>(wide.size() & ~std::size_t{1}));
  copy.insert(copy.end(), {0, 0});
  const auto* source = reinterpret_cast<const wchar_t*>(copy.data());
  if (::lstrlenW(source) == 0) return {};
  const auto cp = static_cast<UINT>(codePage);
  const int count = ::WideCharToMultiByte(cp, 0, source, -1, nullptr, 0, nullptr, nullptr);
  if (count <= 0) return {};
  Bytes buffer(static_cast<std::size_t>(count), 0);
  ::WideCharToMultiByte(cp, 0, source, -1, reinterpret_cast<char*>(buffer.data()), count, nullptr, nullptr);
  return TextToBytes(BytesToText(buffer));
}
