#pragma once
// Move-only owners for Win32 handles and other resources with a free function.
#include <utility>

#include "util/windows_prelude.h"

// Owns one value of type T; Close(value) frees it unless it equals Invalid.
template <typename T, auto Close, T Invalid = T{}>
class UniqueResource {
 public:
  UniqueResource() noexcept = default;
  explicit UniqueResource(T value) noexcept : value_(value) {}
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueResource() { reset(); }

  [[nodiscard]] T get() const noexcept { return value_; }
  [[nodiscard]] bool valid() const noexcept { return value_ != Invalid; }
  explicit operator bool() const noexcept { return valid(); }

  // Gives up ownership without freeing.
  [[nodiscard]] T release() noexcept { return std::exchange(value_, Invalid); }

  void reset(T value = Invalid) noexcept {
    const T old = std::exchange(value_, value);
    if (old != Invalid) Close(old);
  }

  // Frees the current value, then hands out its slot for an out-parameter.
  [[nodiscard]] T* put() noexcept {
    reset();
    return &value_;
  }

 private:
  T value_ = Invalid;
};

namespace detail {
inline void CloseHandleValue(HANDLE h) noexcept { ::CloseHandle(h); }
inline void FreeLocal(HLOCAL h) noexcept { ::LocalFree(h); }
inline void FreeGlobal(HGLOBAL h) noexcept { ::GlobalFree(h); }
inline void FreeLibraryValue(HMODULE h) noexcept { ::FreeLibrary(h); }
inline void DeleteGdiObject(HBITMAP h) noexcept { ::DeleteObject(h); }
inline void DestroyIconValue(HICON h) noexcept { ::DestroyIcon(h); }
}  // namespace detail

// Handles whose "none" is null (processes, threads, pipes, events).
using UniqueHandle = UniqueResource<HANDLE, detail::CloseHandleValue>;
// File handles, whose "none" is INVALID_HANDLE_VALUE. That value is no constant expression, so the
// owner keeps null for "none" and turns INVALID_HANDLE_VALUE into it on the way in.
class UniqueFileHandle : public UniqueResource<HANDLE, detail::CloseHandleValue> {
 public:
  UniqueFileHandle() noexcept = default;
  explicit UniqueFileHandle(HANDLE value) noexcept
      : UniqueResource(value == INVALID_HANDLE_VALUE ? nullptr : value) {}
};
using UniqueLocal = UniqueResource<HLOCAL, detail::FreeLocal>;
using UniqueGlobal = UniqueResource<HGLOBAL, detail::FreeGlobal>;
using UniqueModule = UniqueResource<HMODULE, detail::FreeLibraryValue>;
using UniqueBitmap = UniqueResource<HBITMAP, detail::DeleteGdiObject>;
using UniqueIcon = UniqueResource<HICON, detail::DestroyIconValue>;

// Locks a global memory block for the guard's lifetime.
class GlobalLock {
 public:
  explicit GlobalLock(HGLOBAL block) noexcept : block_(block), data_(block ? ::GlobalLock(block) : nullptr) {}
  GlobalLock(const GlobalLock&) = delete;
  GlobalLock& operator=(const GlobalLock&) = delete;
  ~GlobalLock() {
    if (data_) ::GlobalUnlock(block_);
  }
  [[nodiscard]] void* data() const noexcept { return data_; }

 private:
  HGLOBAL block_;
  void* data_;
};
