#include "tests/extract/zip_builder.h"

#include <array>

namespace {

void Put16(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutBytes(Bytes& out, const std::string& s) { out.insert(out.end(), s.begin(), s.end()); }

}  // namespace

std::uint32_t Crc32(const Bytes& data) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const std::uint8_t b : data) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

Bytes AsBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes BuildStoredZip(const std::vector<ZipEntrySpec>& entries) {
  Bytes out;
  Bytes directory;
  for (const ZipEntrySpec& e : entries) {
    const auto offset = static_cast<std::uint32_t>(out.size());
    const std::uint32_t crc = e.crc.value_or(Crc32(e.data));
    const std::uint32_t size = e.declaredSize.value_or(static_cast<std::uint32_t>(e.data.size()));
    const auto nameSize = static_cast<std::uint32_t>(e.name.size());
    Put32(out, 0x04034b50);
    Put16(out, 10);  // version needed
    Put16(out, 0);   // flags
    Put16(out, 0);   // stored
    Put32(out, 0x00210000);  // 1980-01-01
    Put32(out, crc);
    Put32(out, size);
    Put32(out, size);
    Put16(out, nameSize);
    Put16(out, 0);
    PutBytes(out, e.name);
    out.insert(out.end(), e.data.begin(), e.data.end());

    Put32(directory, 0x02014b50);
    Put16(directory, 20);  // made by
    Put16(directory, 10);
    Put16(directory, 0);
    Put16(directory, 0);
    Put32(directory, 0x00210000);
    Put32(directory, crc);
    Put32(directory, size);
    Put32(directory, size);
    Put16(directory, nameSize);
    Put16(directory, 0);  // extra
    Put16(directory, 0);  // comment
    Put16(directory, 0);  // disk
    Put16(directory, 0);  // internal attributes
    Put32(directory, 0);  // external attributes
    Put32(directory, offset);
    PutBytes(directory, e.name);
  }
  const auto directoryOffset = static_cast<std::uint32_t>(out.size());
  out.insert(out.end(), directory.begin(), directory.end());
  Put32(out, 0x06054b50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<std::uint32_t>(entries.size()));
  Put16(out, static_cast<std::uint32_t>(entries.size()));
  Put32(out, static_cast<std::uint32_t>(directory.size()));
  Put32(out, directoryOffset);
  Put16(out, 0);
  return out;
}
