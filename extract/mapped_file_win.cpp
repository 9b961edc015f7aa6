#include "extract/mapped_file_win.h"

#include <limits>

MappedFile::MappedFile(const wchar_t* path) {
  UniqueFileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0) return;
  if (static_cast<unsigned long long>(size.QuadPart) > std::numeric_limits<std::size_t>::max()) return;
  UniqueHandle mapping(::CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping) return;
  // The view keeps the mapping and the file alive after their handles close.
  view_.reset(::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
  if (view_) size_ = static_cast<std::size_t>(size.QuadPart);
}
