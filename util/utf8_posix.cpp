#include "util/utf8_posix.h"

namespace utf8 {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

constexpr bool IsContinuation(std::uint8_t byte) { return (byte & 0xC0) == 0x80; }

// Number of continuation bytes a lead byte announces; 0 for bytes that start nothing.
constexpr std::size_t TrailCount(std::uint8_t byte) {
  if (byte >= 0xC0 && byte <= 0xDF) return 1;
  if (byte >= 0xE0 && byte <= 0xEF) return 2;
  if (byte >= 0xF0 && byte <= 0xF4) return 3;
  return 0;
}

void AppendCodePoint(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
    return;
  }
  cp -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 | (cp >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 | (cp & 0x3FF)));
}

}  // namespace

// Continuation bytes are taken one at a time: a bad one ends the sequence before it, while an
// overlong, surrogate or out-of-range prefix ends it after the byte that showed it (the second
// byte of a three- or four-byte sequence).
std::u16string Decode(const std::uint8_t* text, std::size_t length) {
  std::u16string out;
  std::size_t i = 0;
  while (i < length) {
    const std::uint8_t lead = text[i];
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    }
    const std::size_t trails = TrailCount(lead);
    if (trails == 0) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    if (i + 1 + trails > length) {
      out.push_back(kReplacement);
      break;
    }
    const std::uint8_t first = text[i + 1];
    if (!IsContinuation(first)) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    if (trails == 1) {
      const char32_t cp = static_cast<char32_t>((lead & 0x1F) << 6 | (first & 0x3F));
      if (cp < 0x80) {
        out.push_back(kReplacement);
        ++i;
        continue;
      }
      out.push_back(static_cast<char16_t>(cp));
      i += 2;
      continue;
    }
    i += 2;
    char32_t cp = static_cast<char32_t>((lead & (trails == 2 ? 0x0F : 0x07)) << 6 | (first & 0x3F));
    const bool bad = trails == 2 ? (cp < 0x20 || (cp >= 0x360 && cp < 0x380)) : (cp < 0x10 || cp >= 0x110);
    if (bad) {
      out.push_back(kReplacement);
      continue;
    }
    bool complete = true;
    for (std::size_t k = 1; k < trails; ++k) {
      if (!IsContinuation(text[i])) {
        complete = false;
        break;
      }
      cp = cp << 6 | (text[i] & 0x3F);
      ++i;
    }
    if (complete) {
      AppendCodePoint(out, cp);
    } else {
      out.push_back(kReplacement);
    }
  }
  return out;
}

std::string Encode(std::u16string_view units) {
  std::string out;
  const auto put = [&out](char32_t cp) {
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | cp >> 6));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | cp >> 12));
      out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | cp >> 18));
      out.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  };
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      put(0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      put(0xFFFD);
    } else {
      put(unit);
    }
  }
  return out;
}

}  // namespace utf8
