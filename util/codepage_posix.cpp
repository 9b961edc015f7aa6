// The conversions of codepage_win.cpp without Windows: code pages 936 and 65001 with the same
// stop-at-first-zero, replacement and default-character rules. Other code pages fail (empty).
#include <algorithm>
#include <cstring>

#include "util/codepage.h"
#include "util/cp936_posix.h"
#include "util/utf8_posix.h"

namespace {

constexpr char16_t kDefaultUnit = u'?';
constexpr std::uint8_t kDefaultByte = '?';

// MultiByteToWideChar(codePage, 0, text, -1, ...): `text` ends in its terminator, which is
// converted too. A lead byte with a bad trail byte becomes one '?' for both; before the
// terminator it becomes '?' alone.
std::u16string DecodeGbk(const std::uint8_t* text, std::size_t length) {
  std::u16string out;
  std::size_t i = 0;
  while (i < length) {
    const std::uint8_t byte = text[i];
    if (!cp936::IsLeadByte(byte)) {
      out.push_back(cp936::DecodeSingle(byte));
      ++i;
    } else if (i + 1 >= length || text[i + 1] == 0) {
      out.push_back(kDefaultUnit);
      ++i;
    } else {
      const char16_t unit = cp936::DecodePair(byte, text[i + 1]);
      out.push_back(unit ? unit : kDefaultUnit);
      i += 2;
    }
  }
  return out;
}

Bytes EncodeGbk(std::u16string_view units) {
  Bytes out;
  for (const char16_t unit : units) {
    const std::uint16_t code = cp936::Encode(unit);
    if (code == 0) {
      out.push_back(kDefaultByte);
    } else if (code > 0xFF) {
      out.push_back(static_cast<std::uint8_t>(code >> 8));
      out.push_back(static_cast<std::uint8_t>(code & 0xFF));
    } else {
      out.push_back(static_cast<std::uint8_t>(code));
    }
  }
  return out;
}

}  // namespace

WideText AnsiToWide(const Bytes& bytes, std::int32_t codePage) {
  Bytes text(bytes);
  text.push_back(0);
  if (text[0] == 0) return {};
  const std::size_t length = static_cast<std::size_t>(std::find(text.begin(), text.end(), 0) - text.begin()) + 1;
  std::u16string units;
  if (codePage == kCodePageGbk) {
    units = DecodeGbk(text.data(), length);
  } else if (codePage == kCodePageUtf8) {
    units = utf8::Decode(text.data(), length);
  } else {
    return {};
  }
  if (units.empty()) return {};
  if (units.back() != 0) units.push_back(0);
  WideText wide(units.size() * 2);
  std::memcpy(wide.data(), units.data(), wide.size());  // UTF-16LE on every target we build
  return wide;
}

Bytes WideToAnsi(const WideText& wide, std::int32_t codePage) {
  std::u16string units(wide.size() / 2, u'\0');
  if (!units.empty()) std::memcpy(units.data(), wide.data(), units.size() * 2);
  units.resize(std::min(units.size(), units.find(u'\0')));
  if (units.empty()) return {};
  if (codePage == kCodePageGbk) return EncodeGbk(units);
  if (codePage == kCodePageUtf8) {
    const std::string bytes = utf8::Encode(units);
    return Bytes(bytes.begin(), bytes.end());
  }
  return {};
}
