#pragma once
// A file mapped read-only into memory for as long as the object lives.
#include <cstddef>
#include <cstdint>

#include "util/unique_resource.h"
#include "util/windows_prelude.h"

namespace detail {
inline void UnmapView(const void* view) noexcept { ::UnmapViewOfFile(view); }
}  // namespace detail

using UniqueView = UniqueResource<const void*, detail::UnmapView>;

class MappedFile {
 public:
  // Maps the whole file; an empty, missing or unmappable file gives an empty mapping.
  explicit MappedFile(const wchar_t* path);

  [[nodiscard]] const std::uint8_t* data() const noexcept { return static_cast<const std::uint8_t*>(view_.get()); }
  [[nodiscard]] std::size_t size() const noexcept { return size_; }

 private:
  UniqueView view_;
  std::size_t size_ = 0;
};
