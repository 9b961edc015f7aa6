#include <string>

#include "badging/apk_error.h"
#include "badging/random_access_file.h"
#include "util/unique_resource.h"

namespace apk {
namespace {

class WinFile final : public RandomAccessFile {
 public:
  WinFile(UniqueFileHandle file, std::uint64_t size) : file_(std::move(file)), size_(size) {}

  [[nodiscard]] std::uint64_t size() const override { return size_; }

  void readAt(std::uint64_t offset, void* buffer, std::size_t count) const override {
    if (offset > size_ || count > size_ - offset) throw ApkError("read past the end of the file");
    auto* out = static_cast<char*>(buffer);
    while (count > 0) {
      // Positioned reads through OVERLAPPED leave no shared file pointer behind.
      OVERLAPPED at{};
      at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
      at.OffsetHigh = static_cast<DWORD>(offset >> 32);
      const DWORD chunk = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
      DWORD got = 0;
      if (!::ReadFile(file_.get(), out, chunk, &got, &at) || got == 0) throw ApkError("cannot read the file");
      out += got;
      offset += got;
      count -= got;
    }
  }

  std::shared_ptr<const void> map(std::uint64_t offset, std::size_t count, bool /*readAll*/,
                                  const std::uint8_t** data) const override {
    *data = nullptr;
    if (offset > size_ || count > size_ - offset || count == 0) return nullptr;
    UniqueHandle mapping(::CreateFileMappingW(file_.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return nullptr;
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    const std::uint64_t granularity = info.dwAllocationGranularity;
    const std::uint64_t start = offset - offset % granularity;
    const std::size_t length = static_cast<std::size_t>(offset - start) + count;
    void* base = ::MapViewOfFile(mapping.get(), FILE_MAP_READ, static_cast<DWORD>(start >> 32),
                                 static_cast<DWORD>(start & 0xFFFFFFFFu), length);
    // The view keeps the mapping object alive by itself; the handle can go.
    if (base == nullptr) return nullptr;
    *data = static_cast<const std::uint8_t*>(base) + (offset - start);
    return std::shared_ptr<const void>(base, [](const void* p) { ::UnmapViewOfFile(p); });
  }

 private:
  UniqueFileHandle file_;
  std::uint64_t size_;
};

}  // namespace

std::unique_ptr<RandomAccessFile> OpenFile(const std::filesystem::path& path) {
  UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  // The message is UTF-8; the path goes into it as UTF-8 too.
  const auto u8 = path.u8string();
  const std::string name(u8.begin(), u8.end());
  if (!file) throw ApkError("cannot open '" + name + "'");
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      ::GetFileType(file.get()) != FILE_TYPE_DISK) {
    throw ApkError("'" + name + "' is not a regular file");
  }
  return std::make_unique<WinFile>(std::move(file), static_cast<std::uint64_t>(size.QuadPart));
}

}  // namespace apk
