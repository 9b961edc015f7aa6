#include "regex/ansi_text_scan.h"

#include <limits>

namespace {

// "#引号" in code page 936.
constexpr std::string_view kQuotePlaceholder = "#\xD2\xFD\xBA\xC5";

unsigned char FoldAscii(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c; }

// Whether needle is at haystack[pos], comparing character by character.
bool MatchesAt(std::string_view haystack, std::string_view needle, std::size_t pos, bool ignoreCase) {
  if (haystack.size() - pos < needle.size()) return false;
  for (std::size_t k = 0; k < needle.size();) {
    const std::size_t len = AnsiCharLength(needle, k);
    if (len == 2) {
      if (haystack[pos + k] != needle[k] || haystack[pos + k + 1] != needle[k + 1]) return false;
      // The haystack's character must be double-byte too, not a lead-like byte before an ASCII one.
      if (AnsiCharLength(haystack, pos + k) != 2) return false;
    } else {
      auto h = static_cast<unsigned char>(haystack[pos + k]);
      auto n = static_cast<unsigned char>(needle[k]);
      if (ignoreCase) {
        h = FoldAscii(h);
        n = FoldAscii(n);
      }
      if (h != n || AnsiCharLength(haystack, pos + k) != 1) return false;
    }
    k += len;
  }
  return true;
}

}  // namespace

std::size_t AnsiCharLength(std::string_view text, std::size_t pos) noexcept {
  const auto c = static_cast<unsigned char>(text[pos]);
  return c >= 0x81 && c <= 0xFE && pos + 1 < text.size() ? 2 : 1;
}

Text ReplaceQuotePlaceholder(std::string_view pattern) {
  Text out;
  out.reserve(pattern.size());
  for (std::size_t pos = 0; pos < pattern.size();) {
    if (pattern.substr(pos, kQuotePlaceholder.size()) == kQuotePlaceholder) {
      out.push_back('"');
      pos += kQuotePlaceholder.size();
      continue;
    }
    const std::size_t len = AnsiCharLength(pattern, pos);
    out.append(pattern.substr(pos, len));
    pos += len;
  }
  return out;
}

std::int32_t FindTextFrom(std::string_view haystack, std::string_view needle, std::size_t start, bool ignoreCase) {
  if (haystack.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return -2;
  for (std::size_t pos = start; pos <= haystack.size();) {
    if (MatchesAt(haystack, needle, pos, ignoreCase)) return static_cast<std::int32_t>(pos);
    if (pos == haystack.size()) break;
    pos += AnsiCharLength(haystack, pos);
  }
  return -2;
}
