#include "extract/file_read_win.h"

#include <algorithm>
#include <string>

#include "util/codepage.h"
#include "util/unique_resource.h"

Bytes ReadWholeFile(const Text& path, std::size_t maxBytes) {
  if (path.empty()) return {};
  const std::u16string wide = TextToUtf16(path);
  UniqueFileHandle file(::CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), GENERIC_READ,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
      static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
    return {};
  }
  Bytes bytes(static_cast<std::size_t>(size.QuadPart));
  std::size_t total = 0;
  while (total < bytes.size()) {
    DWORD got = 0;
    const auto ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - total, 1u << 20));
    if (!::ReadFile(file.get(), bytes.data() + total, ask, &got, nullptr) || got == 0) return {};
    total += got;
  }
  return bytes;
}
