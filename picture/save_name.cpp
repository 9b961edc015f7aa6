#include "picture/save_name.h"

#include <cstddef>
#include <cstdint>

namespace {

// Lead bytes of code page 936: the byte after one is a trail byte, which may equal '\\' or '/'.
bool IsLeadByte(std::uint8_t byte) { return byte >= 0x81 && byte <= 0xFE; }

// Where the file name starts: just after the last separator that is a character of its own.
std::size_t FileNameStart(const Text& path) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto byte = static_cast<std::uint8_t>(path[i]);
    if (IsLeadByte(byte)) {
      ++i;
    } else if (byte == '\\' || byte == '/' || byte == ':') {
      start = i + 1;
    }
  }
  return start;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// '.' is never a trail byte, so a name ending in these four bytes ends in these four characters.
bool EndsInPng(const Text& name) {
  static constexpr char kSuffix[] = ".png";
  constexpr std::size_t kLength = sizeof(kSuffix) - 1;
  if (name.size() < kLength) return false;
  for (std::size_t i = 0; i < kLength; ++i) {
    if (AsciiLower(name[name.size() - kLength + i]) != kSuffix[i]) return false;
  }
  return true;
}

}  // namespace

Text SaveNameFor(const Text& confirmedPath) {
  const std::size_t start = FileNameStart(confirmedPath);
  const Text name = confirmedPath.substr(start);
  if (name.empty()) return {};
  return EndsInPng(name) ? confirmedPath : confirmedPath + ".png";
}
