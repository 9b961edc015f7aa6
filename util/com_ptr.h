#pragma once
// Owning COM interface pointer, and the COM and OLE initialisation scopes.
#include <utility>

#include "util/windows_prelude.h"
#include <objbase.h>
#include <ole2.h>

template <typename T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(std::nullptr_t) noexcept {}
  // Takes ownership of one reference the caller already holds.
  static ComPtr Attach(T* raw) noexcept {
    ComPtr p;
    p.ptr_ = raw;
    return p;
  }
  ComPtr(const ComPtr& other) noexcept : ptr_(other.ptr_) {
    if (ptr_) ptr_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(ptr_, other.ptr_);
    return *this;
  }
  ~ComPtr() { reset(); }

  [[nodiscard]] T* get() const noexcept { return ptr_; }
  T* operator->() const noexcept { return ptr_; }
  explicit operator bool() const noexcept { return ptr_ != nullptr; }

  void reset() noexcept {
    if (T* old = std::exchange(ptr_, nullptr)) old->Release();
  }
  [[nodiscard]] T* detach() noexcept { return std::exchange(ptr_, nullptr); }

  // Releases the current pointer, then hands out its slot for an out-parameter.
  [[nodiscard]] T** put() noexcept {
    reset();
    return &ptr_;
  }
  [[nodiscard]] void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

  template <typename U>
  [[nodiscard]] ComPtr<U> query() const noexcept {
    ComPtr<U> result;
    if (ptr_) ptr_->QueryInterface(__uuidof(U), result.put_void());
    return result;
  }

  // Gives the caller its own reference.
  HRESULT copy_to(T** out) const noexcept {
    if (!out) return E_POINTER;
    *out = ptr_;
    if (ptr_) ptr_->AddRef();
    return S_OK;
  }

 private:
  T* ptr_ = nullptr;
};

// CoInitialize(nullptr) for a scope; uninitialises once at its end whatever CoInitialize said,
// because every call, S_FALSE included, takes one reference on the thread's COM.
class ComScope {
 public:
  ComScope() noexcept : hr_(::CoInitialize(nullptr)) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (SUCCEEDED(hr_)) ::CoUninitialize();
  }

 private:
  HRESULT hr_;
};

// OleInitialize(nullptr) for a scope (the GUI thread, from the first step of start-up to the very
// end); uninitialises at its end when the call succeeded.
class OleScope {
 public:
  OleScope() noexcept : hr_(::OleInitialize(nullptr)) {}
  OleScope(const OleScope&) = delete;
  OleScope& operator=(const OleScope&) = delete;
  ~OleScope() {
    if (SUCCEEDED(hr_)) ::OleUninitialize();
  }

 private:
  HRESULT hr_;
};
