#pragma once
// Late-bound automation: owners for BSTR and VARIANT, and calls by member name through IDispatch.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "util/com_ptr.h"
#include "util/windows_prelude.h"
#include <oleauto.h>

// Owns one BSTR.
class Bstr {
 public:
  Bstr() noexcept = default;
  explicit Bstr(std::u16string_view text);
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  Bstr(Bstr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
  Bstr& operator=(Bstr&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~Bstr() { reset(); }

  [[nodiscard]] BSTR get() const noexcept { return value_; }
  [[nodiscard]] BSTR release() noexcept { return std::exchange(value_, nullptr); }
  void reset(BSTR value = nullptr) noexcept {
    if (BSTR old = std::exchange(value_, value)) ::SysFreeString(old);
  }

 private:
  BSTR value_ = nullptr;
};

// Owns one VARIANT; cleared with VariantClear.
class Variant {
 public:
  Variant() noexcept { ::VariantInit(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  Variant(Variant&& other) noexcept : value_(other.value_) { ::VariantInit(&other.value_); }
  Variant& operator=(Variant&& other) noexcept {
    if (this != &other) {
      ::VariantClear(&value_);
      value_ = other.value_;
      ::VariantInit(&other.value_);
    }
    return *this;
  }
  ~Variant() { ::VariantClear(&value_); }

  static Variant FromBool(bool value) noexcept;
  static Variant FromDouble(double value) noexcept;
  static Variant FromInt(std::int32_t value) noexcept;
  // Takes ownership of the string.
  static Variant FromString(Bstr text) noexcept;

  [[nodiscard]] VARIANT* get() noexcept { return &value_; }
  [[nodiscard]] const VARIANT* get() const noexcept { return &value_; }
  // Clears the current value, then hands out the slot for an out-parameter.
  [[nodiscard]] VARIANT* put() noexcept {
    ::VariantClear(&value_);
    return &value_;
  }

  // Conversions through VariantChangeType; nothing when the value does not convert.
  [[nodiscard]] std::optional<std::u16string> ToString() const;
  [[nodiscard]] std::optional<double> ToDouble() const;
  [[nodiscard]] ComPtr<IDispatch> ToDispatch() const;

 private:
  [[nodiscard]] VARIANT* Source() const noexcept;

  VARIANT value_;
};

std::u16string BstrToUtf16(BSTR text);

// Sets a property by name; the value is only read.
HRESULT PutProperty(IDispatch* object, const wchar_t* name, const VARIANT& value) noexcept;
// Reads a property (with optional index arguments, in call order) or calls a method by name.
HRESULT GetProperty(IDispatch* object, const wchar_t* name, Variant& result, VARIANT* args = nullptr,
                    UINT argCount = 0) noexcept;
HRESULT CallMethod(IDispatch* object, const wchar_t* name, Variant& result, VARIANT* args = nullptr,
                   UINT argCount = 0) noexcept;
