#pragma once
// A file read at given offsets, so a package is never loaded whole.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace apk {

class RandomAccessFile {
 public:
  virtual ~RandomAccessFile() = default;
  [[nodiscard]] virtual std::uint64_t size() const = 0;
  // Reads exactly count bytes at offset or raises ApkError.
  virtual void readAt(std::uint64_t offset, void* buffer, std::size_t count) const = 0;
  // A read-only mapping of [offset, offset + count), or null when the file cannot be mapped
  // (the caller then reads). The pointer stays valid while the returned keeper lives.
  // readAll: the caller will read every byte, so the mapping may be filled in at once.
  [[nodiscard]] virtual std::shared_ptr<const void> map(std::uint64_t offset, std::size_t count, bool readAll,
                                                        const std::uint8_t** data) const {
    (void)offset;
    (void)count;
    (void)readAll;
    *data = nullptr;
    return nullptr;
  }
};

// Opens a file on disk for reading; raises ApkError when it cannot be opened.
std::unique_ptr<RandomAccessFile> OpenFile(const std::filesystem::path& path);

// A file held in memory (tests, fuzzing).
class MemoryFile final : public RandomAccessFile {
 public:
  explicit MemoryFile(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  [[nodiscard]] std::uint64_t size() const override { return bytes_.size(); }
  void readAt(std::uint64_t offset, void* buffer, std::size_t count) const override;

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace apk
