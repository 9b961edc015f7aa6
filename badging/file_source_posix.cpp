#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "badging/apk_error.h"
#include "badging/random_access_file.h"

namespace apk {
namespace {

class PosixFile final : public RandomAccessFile {
 public:
  PosixFile(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;
  ~PosixFile() override { ::close(fd_); }

  [[nodiscard]] std::uint64_t size() const override { return size_; }

  void readAt(std::uint64_t offset, void* buffer, std::size_t count) const override {
    if (offset > size_ || count > size_ - offset) throw ApkError("read past the end of the file");
    auto* out = static_cast<char*>(buffer);
    while (count > 0) {
      const ssize_t got = ::pread(fd_, out, count, static_cast<off_t>(offset));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) throw ApkError("cannot read the file");
      out += got;
      offset += static_cast<std::uint64_t>(got);
      count -= static_cast<std::size_t>(got);
    }
  }

  std::shared_ptr<const void> map(std::uint64_t offset, std::size_t count, bool readAll,
                                  const std::uint8_t** data) const override {
    *data = nullptr;
    if (offset > size_ || count > size_ - offset || count == 0) return nullptr;
    static const auto page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
    const std::uint64_t start = offset - offset % page;
    const std::size_t length = static_cast<std::size_t>(offset - start) + count;
    void* base = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE | (readAll ? MAP_POPULATE : 0), fd_, static_cast<off_t>(start));
    if (base == MAP_FAILED) return nullptr;
    *data = static_cast<const std::uint8_t*>(base) + (offset - start);
    return std::shared_ptr<const void>(base, [length](const void* p) { ::munmap(const_cast<void*>(p), length); });
  }

 private:
  int fd_;
  std::uint64_t size_;
};

}  // namespace

std::unique_ptr<RandomAccessFile> OpenFile(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw ApkError("cannot open '" + path.string() + "': " + std::strerror(errno));
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    throw ApkError("'" + path.string() + "' is not a regular file");
  }
  return std::make_unique<PosixFile>(fd, static_cast<std::uint64_t>(info.st_size));
}

}  // namespace apk
