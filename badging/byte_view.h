#pragma once
// Bounds-checked little-endian reads over a byte range; every miss raises ApkError.
#include <cstddef>
#include <cstdint>
#include <span>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "badging/apk_error.h"

namespace apk {

// Leaves new elements uninitialised: a buffer that is about to be filled is not zeroed first.
template <typename T>
struct DefaultInitAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = DefaultInitAllocator<U>;
  };
  DefaultInitAllocator() = default;
  template <typename U>
  DefaultInitAllocator(const DefaultInitAllocator<U>&) noexcept {}
  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

// The bytes of one archive entry.
using ByteBuffer = std::vector<std::uint8_t, DefaultInitAllocator<std::uint8_t>>;

class ByteView;

// The bytes of one archive entry: a buffer of its own, or a read-only view of the mapped file.
class EntryBytes {
 public:
  EntryBytes() = default;
  explicit EntryBytes(ByteBuffer owned) : owned_(std::move(owned)), data_(owned_.data()), size_(owned_.size()) {}
  // keeper holds the mapping alive for as long as these bytes are used.
  EntryBytes(std::shared_ptr<const void> keeper, const std::uint8_t* data, std::size_t size)
      : keeper_(std::move(keeper)), data_(data), size_(size) {}
  // A moved vector keeps its buffer, so the data pointer stays right for owned bytes too.
  EntryBytes(EntryBytes&& other) noexcept
      : owned_(std::move(other.owned_)),
        keeper_(std::move(other.keeper_)),
        data_(std::exchange(other.data_, nullptr)),
        size_(std::exchange(other.size_, 0)) {}
  EntryBytes& operator=(EntryBytes&& other) noexcept {
    owned_ = std::move(other.owned_);
    keeper_ = std::move(other.keeper_);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    return *this;
  }
  EntryBytes(const EntryBytes&) = delete;
  EntryBytes& operator=(const EntryBytes&) = delete;

  [[nodiscard]] const std::uint8_t* data() const { return data_; }
  [[nodiscard]] std::size_t size() const { return size_; }
  [[nodiscard]] bool empty() const { return size_ == 0; }
  [[nodiscard]] const std::uint8_t* begin() const { return data_; }
  [[nodiscard]] const std::uint8_t* end() const { return data_ + size_; }

 private:
  ByteBuffer owned_;
  std::shared_ptr<const void> keeper_;
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

class ByteView {
 public:
  ByteView() = default;
  ByteView(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  explicit ByteView(std::span<const std::uint8_t> bytes) : data_(bytes.data()), size_(bytes.size()) {}

  [[nodiscard]] const std::uint8_t* data() const { return data_; }
  [[nodiscard]] std::size_t size() const { return size_; }
  [[nodiscard]] bool empty() const { return size_ == 0; }

  // True when [offset, offset + count) lies inside the view, without overflow.
  [[nodiscard]] bool has(std::size_t offset, std::size_t count) const {
    return offset <= size_ && count <= size_ - offset;
  }

  [[nodiscard]] ByteView sub(std::size_t offset, std::size_t count, const char* what) const {
    need(offset, count, what);
    return ByteView(data_ + offset, count);
  }
  [[nodiscard]] std::uint8_t u8(std::size_t offset, const char* what) const {
    need(offset, 1, what);
    return data_[offset];
  }
  [[nodiscard]] std::uint16_t u16(std::size_t offset, const char* what) const {
    need(offset, 2, what);
    return static_cast<std::uint16_t>(data_[offset] | (data_[offset + 1] << 8));
  }
  [[nodiscard]] std::uint32_t u32(std::size_t offset, const char* what) const {
    need(offset, 4, what);
    return static_cast<std::uint32_t>(data_[offset]) | (static_cast<std::uint32_t>(data_[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(data_[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(data_[offset + 3]) << 24);
  }
  [[nodiscard]] std::uint64_t u64(std::size_t offset, const char* what) const {
    return u32(offset, what) | (static_cast<std::uint64_t>(u32(offset + 4, what)) << 32);
  }

  void need(std::size_t offset, std::size_t count, const char* what) const {
    if (!has(offset, count)) throw ApkError(std::string(what) + " lies outside its data");
  }

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace apk
