#pragma once
// A read-only ZIP archive: the central directory is read once, entries on demand.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "badging/byte_view.h"
#include "badging/random_access_file.h"

namespace apk {

struct ZipEntry {
  std::string_view name;  // points into the archive's copy of the central directory
  std::uint16_t method = 0;  // 0 stored, 8 deflated
  std::uint16_t flags = 0;
  std::uint32_t crc32 = 0;
  std::uint64_t compressedSize = 0;
  std::uint64_t uncompressedSize = 0;
  std::uint64_t localHeaderOffset = 0;
};

class ZipArchive {
 public:
  // Reads the end record and the central directory; raises ApkError on a broken archive.
  explicit ZipArchive(std::unique_ptr<RandomAccessFile> file);

  [[nodiscard]] const std::vector<ZipEntry>& entries() const { return entries_; }
  // The entry of that exact name, or null.
  [[nodiscard]] const ZipEntry* find(std::string_view name) const;
  // The entry's data, checked against its size (and a deflated entry's CRC); raises ApkError when it
  // is larger than maxSize. Stored entries are mapped rather than copied where the file allows it.
  [[nodiscard]] EntryBytes read(const ZipEntry& entry, std::size_t maxSize) const;

 private:
  void readCentralDirectory(std::uint64_t offset, std::uint64_t size, std::uint64_t count);

  std::unique_ptr<RandomAccessFile> file_;
  std::uint64_t centralDirectoryOffset_ = 0;
  EntryBytes centralDirectory_;
  std::vector<ZipEntry> entries_;
  // Open addressing over entry indexes (kNoSlot when empty); its size is a power of two.
  std::vector<std::uint32_t> slots_;
};

}  // namespace apk
