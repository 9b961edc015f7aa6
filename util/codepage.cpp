#include "util/codepage.h"

#include <cstring>

#include "util/module_state.h"

WideText CutAtWideNul(const WideText& wide) {
  if (wide.size() < 2) return {};
  std::size_t k = 0;
  while (k + 2 <= wide.size() && (wide[k] | wide[k + 1]) != 0) k += 2;
  return WideText(wide.begin(), wide.begin() + static_cast<std::ptrdiff_t>(k));
}

WideText TextToWide(const Text& text, bool stripTerminator) {
  WideText wide = AnsiToWide(TextToBytes(text), consoleCodePage);
  return stripTerminator ? CutAtWideNul(wide) : wide;
}

Text Utf8ToConsoleText(const Bytes& utf8) {
  return BytesToText(WideToAnsi(AnsiToWide(utf8, kCodePageUtf8), consoleCodePage));
}

std::u16string TextToUtf16(std::string_view text) {
  const WideText wide = CutAtWideNul(AnsiToWide(TextToBytes(text), consoleCodePage));
  std::u16string result(wide.size() / 2, u'\0');
  if (!wide.empty()) std::memcpy(result.data(), wide.data(), wide.size());
  return result;
}

Text Utf16ToText(std::u16string_view wide) {
  WideText bytes(wide.size() * 2);
  if (!wide.empty()) std::memcpy(bytes.data(), wide.data(), bytes.size());
  return BytesToText(WideToAnsi(bytes, consoleCodePage));
}
