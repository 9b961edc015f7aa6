#include "app/tool_images_win.h"

#include <algorithm>
#include <vector>

#include "resources/resource_ids.h"
#include "util/unique_resource.h"

namespace {

std::span<const std::uint8_t> ResourceBytes(int id) {
  const HMODULE module = ::GetModuleHandleW(nullptr);
  const HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!info) return {};
  const HGLOBAL loaded = ::LoadResource(module, info);  // module memory: nothing to free
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  if (!data) return {};
  return {static_cast<const std::uint8_t*>(data), ::SizeofResource(module, info)};
}

// True when the file at `path` holds exactly `image`.
bool FileHolds(const std::wstring& path, std::span<const std::uint8_t> image) {
  UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || static_cast<std::uint64_t>(size.QuadPart) != image.size()) return false;
  std::vector<std::uint8_t> chunk(1 << 16);
  std::size_t offset = 0;
  while (offset < image.size()) {
    DWORD read = 0;
    const auto want = static_cast<DWORD>(std::min(chunk.size(), image.size() - offset));
    if (!::ReadFile(file.get(), chunk.data(), want, &read, nullptr) || read == 0) return false;
    if (!std::equal(chunk.begin(), chunk.begin() + read, image.begin() + static_cast<std::ptrdiff_t>(offset))) {
      return false;
    }
    offset += read;
  }
  return true;
}

// Create or truncate, write access, no sharing, all bytes.
bool WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> image) {
  UniqueFileHandle file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::size_t offset = 0;
  while (offset < image.size()) {
    DWORD written = 0;
    const auto want = static_cast<DWORD>(std::min<std::size_t>(image.size() - offset, 1u << 20));
    if (!::WriteFile(file.get(), image.data() + offset, want, &written, nullptr) || written == 0) return false;
    offset += written;
  }
  return ::FlushFileBuffers(file.get()) != 0;
}

}  // namespace

std::span<const std::uint8_t> AaptImage() { return ResourceBytes(IDR_AAPT_IMAGE); }
std::span<const std::uint8_t> UnzipImage() { return ResourceBytes(IDR_UNZIP_IMAGE); }

bool WriteHiddenFile(const std::wstring& path, std::span<const std::uint8_t> image) {
  if (FileHolds(path, image)) return ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN) != 0;

  // An older copy is replaced, not rewritten in place: a hidden file refuses a create-always open
  // with normal attributes, and a write that fails halfway must not destroy the old tool.
  const auto slash = path.find_last_of(L'\\');
  const std::wstring directory = slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
  wchar_t temporary[MAX_PATH + 16] = {};
  if (directory.size() > MAX_PATH - 14 || !::GetTempFileNameW(directory.c_str(), L"fnl", 0, temporary)) return false;
  if (!WriteWholeFile(temporary, image)) {
    ::DeleteFileW(temporary);
    return false;
  }
  const DWORD oldAttributes = ::GetFileAttributesW(path.c_str());
  if (oldAttributes != INVALID_FILE_ATTRIBUTES) ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!::MoveFileExW(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    // In use (a tool still running) or not a file: the old copy stays as it was.
    ::DeleteFileW(temporary);
    if (oldAttributes != INVALID_FILE_ATTRIBUTES) ::SetFileAttributesW(path.c_str(), oldAttributes);
    return false;
  }
  return ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN) != 0;
}
