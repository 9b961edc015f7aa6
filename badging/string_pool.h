#pragma once
// A compiled string pool (UTF-8 or UTF-16), decoded one string at a time.
#include <cstdint>
#include <optional>
#include <string>

#include "badging/byte_view.h"

namespace apk {

class StringPool {
 public:
  StringPool() = default;
  // chunk: the whole pool chunk, header included; raises ApkError when its layout is broken.
  explicit StringPool(ByteView chunk);

  [[nodiscard]] std::uint32_t size() const { return count_; }
  [[nodiscard]] bool isUtf8() const { return utf8_; }
  // The string as UTF-8, or nothing when the index or the string's encoding is bad
  // (the packaging tool then reads no string at all).
  [[nodiscard]] std::optional<std::string> at(std::uint32_t index) const;

 private:
  ByteView chunk_;
  std::uint32_t count_ = 0;
  std::size_t offsetsAt_ = 0;
  std::size_t stringsAt_ = 0;
  std::size_t stringsEnd_ = 0;
  bool utf8_ = false;
};

// UTF-16 code units to UTF-8; unpaired surrogates become three-byte sequences.
std::string Utf16ToUtf8(const std::u16string& text);

}  // namespace apk
