#include "dnd/hdrop_block.h"

#include <cstdint>

namespace {

void PutUint32(Bytes& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

}  // namespace

Bytes BuildDropFilesBlock(const std::vector<Bytes>& names, bool wide) {
  const std::size_t unit = wide ? 2 : 1;
  std::size_t size = kDropFilesHeaderSize + unit;
  for (const Bytes& name : names) size += name.size() + unit;
  if (names.empty()) size += unit;

  Bytes block;
  block.reserve(size);
  PutUint32(block, static_cast<std::uint32_t>(kDropFilesHeaderSize));
  PutUint32(block, 0);
  PutUint32(block, 0);
  PutUint32(block, 0);
  PutUint32(block, wide ? 1 : 0);
  for (const Bytes& name : names) {
    block.insert(block.end(), name.begin(), name.end());
    block.insert(block.end(), unit, 0);
  }
  // An empty list still needs its double terminator, or a reader runs past the block.
  if (names.empty()) block.insert(block.end(), unit, 0);
  block.insert(block.end(), unit, 0);
  return block;
}

Bytes Utf16ToLeBytes(std::u16string_view text) {
  Bytes bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}
