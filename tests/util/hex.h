#pragma once
// Byte values written as hex pairs ("41 00 42") for readable test tables.
#include <cstdio>
#include <string>
#include <string_view>

#include "util/text.h"

inline Bytes Hex(std::string_view text) {
  Bytes bytes;
  unsigned value = 0;
  int digits = 0;
  for (const char c : text) {
    const int nibble = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (nibble < 0) continue;
    value = value << 4 | static_cast<unsigned>(nibble);
    if (++digits == 2) {
      bytes.push_back(static_cast<std::uint8_t>(value));
      value = 0;
      digits = 0;
    }
  }
  return bytes;
}

inline std::string ToHex(const Bytes& bytes) {
  std::string text;
  char pair[4];
  for (const std::uint8_t b : bytes) {
    std::snprintf(pair, sizeof pair, "%02X ", b);
    text += pair;
  }
  if (!text.empty()) text.pop_back();
  return text;
}

inline std::string ToHex(std::string_view text) { return ToHex(Bytes(text.begin(), text.end())); }
