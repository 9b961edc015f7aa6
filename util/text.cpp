#include "util/text.h"

#include <algorithm>

Text BytesToText(const Bytes& bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  return Text(bytes.begin(), end);
}

Bytes TextToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }
