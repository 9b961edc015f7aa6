#include "badging/string_pool.h"

#include "badging/res_value.h"

namespace apk {
namespace {

constexpr std::uint32_t kUtf8Flag = 0x100;

// Length in the lead byte(s) the way the packaging tool's decoder counts it.
std::size_t Utf8SequenceLength(std::uint8_t lead) {
  return ((0xe5000000u >> ((lead >> 3) & 0x1e)) & 3) + 1;
}

// Decodes leniently (as the packaging tool does, without validation) into UTF-16 units.
std::u16string DecodeUtf8(const std::uint8_t* text, std::size_t length) {
  std::u16string units;
  units.reserve(length);
  std::size_t at = 0;
  while (at < length) {
    const std::size_t n = Utf8SequenceLength(text[at]);
    if (n > length - at) break;
    static constexpr std::uint8_t kLeadMask[5] = {0, 0xff, 0x1f, 0x0f, 0x07};
    std::uint32_t cp = text[at] & kLeadMask[n];
    for (std::size_t i = 1; i < n; ++i) cp = (cp << 6) | (text[at + i] & 0x3f);
    if (cp > 0xFFFF) {
      cp -= 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 + ((cp >> 10) & 0x3FF)));
      units.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(cp));
    }
    at += n;
  }
  return units;
}

std::size_t Utf16LengthOfUtf8(const std::uint8_t* text, std::size_t length) {
  std::size_t units = 0;
  std::size_t at = 0;
  while (at < length) {
    const std::size_t n = Utf8SequenceLength(text[at]);
    units += n == 4 ? 2 : 1;
    at += n;
  }
  return units;
}

}  // namespace

std::string Utf16ToUtf8(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
      ++i;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

StringPool::StringPool(ByteView chunk) : chunk_(chunk) {
  if (chunk.u16(0, "string pool") != kChunkStringPool) throw ApkError("expected a string pool");
  const std::size_t headerSize = chunk.u16(2, "string pool");
  if (headerSize < 28 || headerSize > chunk.size()) throw ApkError("string pool header is broken");
  count_ = chunk.u32(8, "string pool");
  const std::uint32_t styleCount = chunk.u32(12, "string pool");
  utf8_ = (chunk.u32(16, "string pool") & kUtf8Flag) != 0;
  const std::size_t stringsStart = chunk.u32(20, "string pool");
  const std::size_t stylesStart = chunk.u32(24, "string pool");
  offsetsAt_ = headerSize;
  // Offsets (and style offsets) must fit between the header and the string data.
  if (count_ > (chunk.size() - headerSize) / 4 || styleCount > (chunk.size() - headerSize) / 4 - count_) {
    throw ApkError("string pool count exceeds its chunk");
  }
  if (count_ == 0) return;
  if (stringsStart < headerSize + 4u * (static_cast<std::size_t>(count_) + styleCount) || stringsStart >= chunk.size()) {
    throw ApkError("string pool data lies outside its chunk");
  }
  stringsAt_ = stringsStart;
  stringsEnd_ = chunk.size();
  if (styleCount != 0) {
    if (stylesStart <= stringsStart || stylesStart > chunk.size()) throw ApkError("string pool styles lie outside its chunk");
    stringsEnd_ = stylesStart;
  }
}

std::optional<std::string> StringPool::at(std::uint32_t index) const {
  if (index >= count_) return std::nullopt;
  const std::size_t offset = chunk_.u32(offsetsAt_ + 4u * index, "string offset");
  const ByteView data = chunk_.sub(stringsAt_, stringsEnd_ - stringsAt_, "string data");
  if (offset >= data.size()) return std::nullopt;
  std::size_t at = offset;
  if (utf8_) {
    auto length8 = [&](std::size_t& pos) -> std::optional<std::size_t> {
      if (!data.has(pos, 1)) return std::nullopt;
      std::size_t n = data.u8(pos, "string");
      ++pos;
      if (n & 0x80) {
        if (!data.has(pos, 1)) return std::nullopt;
        n = ((n & 0x7F) << 8) | data.u8(pos, "string");
        ++pos;
      }
      return n;
    };
    const auto units16 = length8(at);
    if (!units16) return std::nullopt;
    const auto bytes = length8(at);
    if (!bytes || !data.has(at, *bytes)) return std::nullopt;
    const std::uint8_t* text = data.data() + at;
    if (Utf16LengthOfUtf8(text, *bytes) != *units16) return std::nullopt;
    return Utf16ToUtf8(DecodeUtf8(text, *bytes));
  }
  if (!data.has(at, 2)) return std::nullopt;
  std::size_t units = data.u16(at, "string");
  at += 2;
  if (units & 0x8000) {
    if (!data.has(at, 2)) return std::nullopt;
    units = ((units & 0x7FFF) << 16) | data.u16(at, "string");
    at += 2;
  }
  if (units > (data.size() - at) / 2) return std::nullopt;
  std::u16string text(units, u'\0');
  for (std::size_t i = 0; i < units; ++i) text[i] = static_cast<char16_t>(data.u16(at + 2 * i, "string"));
  return Utf16ToUtf8(text);
}

}  // namespace apk
