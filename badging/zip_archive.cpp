#include "badging/zip_archive.h"

#include <algorithm>
#include <array>

#include "badging/apk_error.h"
#include "badging/byte_view.h"
#include "badging/inflate.h"

namespace apk {
namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kEnd64Signature = 0x06064b50;
constexpr std::uint32_t kEnd64LocatorSignature = 0x07064b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kEnd64LocatorSize = 20;
constexpr std::size_t kEnd64Size = 56;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kLocalSize = 30;
constexpr std::size_t kMaxComment = 0xFFFF;
constexpr std::size_t kReadChunk = 256u << 10;

constexpr std::uint32_t kNoSlot = 0xFFFFFFFFu;

// Raw little-endian loads for fields already known to lie inside their buffer.
std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) | (static_cast<std::uint32_t>(p[2]) << 16) |
         (static_cast<std::uint32_t>(p[3]) << 24);
}

// FNV-1a: quick for short names, and the table only needs to spread them.
std::uint32_t HashName(std::string_view name) {
  std::uint32_t h = 2166136261u;
  for (const char c : name) h = (h ^ static_cast<std::uint8_t>(c)) * 16777619u;
  return h;
}

ByteBuffer ReadRange(const RandomAccessFile& file, std::uint64_t offset, std::size_t count) {
  ByteBuffer bytes(count);
  file.readAt(offset, bytes.data(), count);
  return bytes;
}

// Zip64 extended information: the 64-bit values replace the saturated 32-bit ones, in a fixed order.
void ApplyZip64Extra(ByteView extra, ZipEntry& entry, bool wantUncompressed, bool wantCompressed, bool wantOffset) {
  std::size_t at = 0;
  while (extra.has(at, 4)) {
    const std::uint16_t id = extra.u16(at, "extra field");
    const std::uint16_t size = extra.u16(at + 2, "extra field");
    const ByteView body = extra.sub(at + 4, size, "extra field");
    if (id == 0x0001) {
      std::size_t pos = 0;
      if (wantUncompressed) entry.uncompressedSize = body.u64((pos += 8) - 8, "zip64 size");
      if (wantCompressed) entry.compressedSize = body.u64((pos += 8) - 8, "zip64 size");
      if (wantOffset) entry.localHeaderOffset = body.u64((pos += 8) - 8, "zip64 offset");
      return;
    }
    at += 4u + size;
  }
  if (wantUncompressed || wantCompressed || wantOffset) throw ApkError("zip64 entry lacks its extended sizes");
}

}  // namespace

ZipArchive::ZipArchive(std::unique_ptr<RandomAccessFile> file) : file_(std::move(file)) {
  const std::uint64_t fileSize = file_->size();
  if (fileSize < kEndSize) throw ApkError("not a ZIP archive (too short)");

  // The end record sits within the last 22 + 65535 bytes; scan backwards for it.
  const std::size_t tailSize = static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, kEndSize + kMaxComment));
  const std::uint64_t tailStart = fileSize - tailSize;
  const ByteBuffer tailBytes = ReadRange(*file_, tailStart, tailSize);
  const ByteView tail(tailBytes.data(), tailBytes.size());
  std::size_t end = tailSize;  // not found
  for (std::size_t at = tailSize - kEndSize + 1; at-- > 0;) {
    if (tail.u32(at, "end record") != kEndSignature) continue;
    const std::size_t commentLength = tail.u16(at + 20, "end record");
    if (at + kEndSize + commentLength <= tailSize) {
      end = at;
      break;
    }
  }
  if (end == tailSize) throw ApkError("not a ZIP archive (no end of central directory)");

  const std::uint16_t disk = tail.u16(end + 4, "end record");
  const std::uint16_t cdDisk = tail.u16(end + 6, "end record");
  std::uint64_t count = tail.u16(end + 10, "end record");
  std::uint64_t cdSize = tail.u32(end + 12, "end record");
  std::uint64_t cdOffset = tail.u32(end + 16, "end record");
  std::uint64_t endOffset = tailStart + end;

  // A Zip64 locator right before the end record leads to the 64-bit end record.
  bool zip64 = false;
  if (endOffset >= kEnd64LocatorSize) {
    std::array<std::uint8_t, kEnd64LocatorSize> locatorBytes{};
    file_->readAt(endOffset - kEnd64LocatorSize, locatorBytes.data(), locatorBytes.size());
    const ByteView locator(locatorBytes.data(), locatorBytes.size());
    if (locator.u32(0, "zip64 locator") == kEnd64LocatorSignature) {
      const std::uint64_t end64Offset = locator.u64(8, "zip64 locator");
      if (end64Offset > endOffset - kEnd64LocatorSize || endOffset - kEnd64LocatorSize - end64Offset < kEnd64Size) {
        throw ApkError("zip64 end record lies outside the archive");
      }
      const ByteBuffer end64Bytes = ReadRange(*file_, end64Offset, kEnd64Size);
      const ByteView end64(end64Bytes.data(), end64Bytes.size());
      if (end64.u32(0, "zip64 end record") != kEnd64Signature) throw ApkError("bad zip64 end record signature");
      if (end64.u32(16, "zip64 end record") != 0 || end64.u32(20, "zip64 end record") != 0) {
        throw ApkError("multi-disk archives are not supported");
      }
      count = end64.u64(32, "zip64 end record");
      cdSize = end64.u64(40, "zip64 end record");
      cdOffset = end64.u64(48, "zip64 end record");
      endOffset = end64Offset;
      zip64 = true;
    }
  }
  if (!zip64 && (disk != 0 || cdDisk != 0)) throw ApkError("multi-disk archives are not supported");
  if (cdOffset > endOffset || cdSize > endOffset - cdOffset) throw ApkError("central directory lies outside the archive");
  readCentralDirectory(cdOffset, cdSize, count);
}

void ZipArchive::readCentralDirectory(std::uint64_t offset, std::uint64_t size, std::uint64_t count) {
  if (size > kMaxCentralDirectory) throw ApkError("central directory is too large");
  if (count > size / kCentralSize || count > kMaxZipEntries) throw ApkError("entry count does not fit the central directory");
  centralDirectoryOffset_ = offset;
  const std::uint8_t* mapped = nullptr;
  if (auto keeper = size != 0 ? file_->map(offset, static_cast<std::size_t>(size), true, &mapped) : nullptr; keeper && mapped) {
    centralDirectory_ = EntryBytes(std::move(keeper), mapped, static_cast<std::size_t>(size));
  } else {
    centralDirectory_ = EntryBytes(ReadRange(*file_, offset, static_cast<std::size_t>(size)));
  }
  const ByteView cd(centralDirectory_.data(), centralDirectory_.size());
  entries_.reserve(static_cast<std::size_t>(count));
  std::size_t at = 0;
  for (std::uint64_t i = 0; i < count; ++i) {
    cd.need(at, kCentralSize, "central directory entry");
    const std::uint8_t* h = cd.data() + at;
    if (Le32(h) != kCentralSignature) throw ApkError("bad central directory entry signature");
    ZipEntry entry;
    entry.flags = Le16(h + 8);
    entry.method = Le16(h + 10);
    entry.crc32 = Le32(h + 16);
    entry.compressedSize = Le32(h + 20);
    entry.uncompressedSize = Le32(h + 24);
    const std::size_t nameLength = Le16(h + 28);
    const std::size_t extraLength = Le16(h + 30);
    const std::size_t commentLength = Le16(h + 32);
    entry.localHeaderOffset = Le32(h + 42);
    const ByteView name = cd.sub(at + kCentralSize, nameLength, "entry name");
    const ByteView extra = cd.sub(at + kCentralSize + nameLength, extraLength, "entry extra field");
    entry.name = std::string_view(reinterpret_cast<const char*>(name.data()), name.size());
    const bool bigUncompressed = entry.uncompressedSize == 0xFFFFFFFFu;
    const bool bigCompressed = entry.compressedSize == 0xFFFFFFFFu;
    const bool bigOffset = entry.localHeaderOffset == 0xFFFFFFFFu;
    if (bigUncompressed || bigCompressed || bigOffset) ApplyZip64Extra(extra, entry, bigUncompressed, bigCompressed, bigOffset);
    if (entry.localHeaderOffset >= offset) throw ApkError("entry '" + std::string(entry.name) + "' starts inside the central directory");
    at += kCentralSize + nameLength + extraLength + commentLength;
    entries_.push_back(std::move(entry));
  }
  std::size_t slotCount = 16;
  while (slotCount < 2 * entries_.size()) slotCount *= 2;
  slots_.assign(slotCount, kNoSlot);
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    std::size_t slot = HashName(entries_[i].name) & (slotCount - 1);
    while (slots_[slot] != kNoSlot) {
      // Like the packaging tool, a repeated name makes the whole archive unusable.
      if (entries_[slots_[slot]].name == entries_[i].name) throw ApkError("duplicate entry '" + std::string(entries_[i].name) + "'");
      slot = (slot + 1) & (slotCount - 1);
    }
    slots_[slot] = static_cast<std::uint32_t>(i);
  }
}

const ZipEntry* ZipArchive::find(std::string_view name) const {
  if (slots_.empty()) return nullptr;
  std::size_t slot = HashName(name) & (slots_.size() - 1);
  while (slots_[slot] != kNoSlot) {
    if (entries_[slots_[slot]].name == name) return &entries_[slots_[slot]];
    slot = (slot + 1) & (slots_.size() - 1);
  }
  return nullptr;
}

EntryBytes ZipArchive::read(const ZipEntry& entry, std::size_t maxSize) const {
  const std::string name(entry.name);
  if (entry.flags & 0x0001) throw ApkError("entry '" + name + "' is encrypted");
  if (entry.method != 0 && entry.method != 8) throw ApkError("entry '" + name + "' uses an unsupported compression method");
  if (entry.uncompressedSize > maxSize) throw ApkError("entry '" + name + "' is too large");
  if (entry.localHeaderOffset > centralDirectoryOffset_ || centralDirectoryOffset_ - entry.localHeaderOffset < kLocalSize) {
    throw ApkError("entry '" + name + "' has a bad local header offset");
  }
  std::array<std::uint8_t, kLocalSize> headerBytes{};
  file_->readAt(entry.localHeaderOffset, headerBytes.data(), headerBytes.size());
  const ByteView header(headerBytes.data(), headerBytes.size());
  if (header.u32(0, "local header") != kLocalSignature) throw ApkError("entry '" + name + "' has a bad local header");
  const std::uint64_t dataOffset = entry.localHeaderOffset + kLocalSize + header.u16(26, "local header") + header.u16(28, "local header");
  // Entry data must end before the central directory begins.
  if (dataOffset > centralDirectoryOffset_ || entry.compressedSize > centralDirectoryOffset_ - dataOffset) {
    throw ApkError("entry '" + name + "' runs past its archive");
  }

  if (entry.method == 0) {
    if (entry.compressedSize != entry.uncompressedSize) throw ApkError("stored entry '" + name + "' has mismatched sizes");
    const auto size = static_cast<std::size_t>(entry.uncompressedSize);
    const std::uint8_t* mapped = nullptr;
    if (size != 0) {
      if (auto keeper = file_->map(dataOffset, size, false, &mapped); keeper && mapped) return EntryBytes(std::move(keeper), mapped, size);
    }
    ByteBuffer out(size);
    if (size != 0) file_->readAt(dataOffset, out.data(), size);
    // Stored entries are taken as they are, as the packaging tool maps them; a CRC over a large
    // uncompressed resource table would cost more than the rest of the dump.
    return EntryBytes(std::move(out));
  }
  ByteBuffer out(static_cast<std::size_t>(entry.uncompressedSize));
  std::vector<std::uint8_t> chunk(static_cast<std::size_t>(std::min<std::uint64_t>(entry.compressedSize, kReadChunk)));
  std::uint64_t next = dataOffset;
  std::uint64_t left = entry.compressedSize;
  try {
    InflateRaw(
        [&]() -> std::span<const std::uint8_t> {
          const std::size_t step = static_cast<std::size_t>(std::min<std::uint64_t>(left, chunk.size()));
          if (step == 0) return {};
          file_->readAt(next, chunk.data(), step);
          next += step;
          left -= step;
          return {chunk.data(), step};
        },
        out);
  } catch (const ApkError& e) {
    throw ApkError("entry '" + name + "': " + e.what());
  }
  if (Crc32(out) != entry.crc32) throw ApkError("entry '" + name + "' fails its CRC check");
  return EntryBytes(std::move(out));
}

}  // namespace apk
