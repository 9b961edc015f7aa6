#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "extract/backends.h"
#include "extract/mapped_file_win.h"
#include "extract/zlibwapi_win.h"
#include "util/codepage.h"

namespace {

using namespace zlibwapi;

class UnzHandle {
 public:
  UnzHandle(const Api& api, unzFile handle) noexcept : api_(api), handle_(handle) {}
  UnzHandle(const UnzHandle&) = delete;
  UnzHandle& operator=(const UnzHandle&) = delete;
  ~UnzHandle() {
    if (handle_) api_.unzClose(handle_);
  }
  [[nodiscard]] unzFile get() const noexcept { return handle_; }

 private:
  const Api& api_;
  unzFile handle_;
};

// Reads the current entry, already known to declare `declared` bytes; empty unless exactly that
// many bytes come out and the CRC holds.
Bytes ReadCurrentEntry(const Api& api, unzFile handle, std::size_t declared) {
  if (declared == 0 || declared > kMaxEntryBytes) return {};
  if (api.unzOpenCurrentFile(handle) != UNZ_OK) return {};
  Bytes content(declared);
  std::size_t total = 0;
  bool failed = false;
  while (total < declared) {
    const auto ask = static_cast<unsigned>(std::min<std::size_t>(declared - total, 1u << 20));
    const int got = api.unzReadCurrentFile(handle, content.data() + total, ask);
    if (got <= 0) {
      failed = true;  // an error, or the data ended before the declared size
      break;
    }
    total += static_cast<std::size_t>(got);
  }
  // Only a fully read entry gets its CRC checked; the close also ends a failed read.
  const int closed = api.unzCloseCurrentFile(handle);
  if (failed || closed != UNZ_OK) return {};
  return content;
}

}  // namespace

Bytes ReadZipEntry(const std::uint8_t* archive, std::size_t size, const Text& entryName) {
  if (!archive || size == 0 || size > std::numeric_limits<unsigned long>::max()) return {};
  const Api* api = Bind();
  if (!api) return {};
  UnzHandle zip(*api, api->unzOpenBuffer(archive, static_cast<unsigned long>(size)));
  if (!zip.get()) return {};

  unz_global_info global{};
  if (api->unzGetGlobalInfo(zip.get(), &global) != UNZ_OK) return {};

  // A name can only be equal when it has the same length, so the buffer need hold no more.
  std::vector<char> name(std::max<std::size_t>(256, entryName.size() + 1));
  for (unsigned long i = 0; i < global.number_entry; ++i) {
    unz_file_info info{};
    std::fill(name.begin(), name.end(), '\0');
    if (api->unzGetCurrentFileInfo(zip.get(), &info, name.data(), static_cast<unsigned long>(name.size() - 1),
                                   nullptr, 0, nullptr, 0) != UNZ_OK) {
      return {};
    }
    if (info.size_filename == entryName.size() &&
        std::memcmp(name.data(), entryName.data(), entryName.size()) == 0) {
      return ReadCurrentEntry(*api, zip.get(), info.uncompressed_size);
    }
    if (api->unzGoToNextFile(zip.get()) != UNZ_OK) return {};
  }
  return {};
}

Bytes ReadZipEntry(const Bytes& archive, const Text& entryName) {
  return ReadZipEntry(archive.data(), archive.size(), entryName);
}

Bytes ExtractInMemory(const Text& apkPath, const Text& entryPath) {
  // Mapped, not read: a package of a gigabyte costs only the pages minizip touches.
  const std::u16string path = TextToUtf16(apkPath);
  const MappedFile file(reinterpret_cast<const wchar_t*>(path.c_str()));
  return ReadZipEntry(file.data(), file.size(), entryPath);
}
