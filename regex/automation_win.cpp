#include "regex/automation_win.h"

#include <algorithm>
#include <string>
#include <vector>

Bstr::Bstr(std::u16string_view text) {
  // Unit by unit: char16_t and wchar_t are distinct types even where both are 16 bits.
  value_ = ::SysAllocStringLen(nullptr, static_cast<UINT>(text.size()));
  if (value_) std::copy(text.begin(), text.end(), value_);
}

std::u16string BstrToUtf16(BSTR text) {
  if (!text) return std::u16string();
  const UINT length = ::SysStringLen(text);
  return std::u16string(text, text + length);
}

// mingw declares VariantChangeType's source non-const; it is only read.
VARIANT* Variant::Source() const noexcept { return const_cast<VARIANT*>(&value_); }

Variant Variant::FromBool(bool value) noexcept {
  Variant v;
  v.value_.vt = VT_BOOL;
  v.value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

Variant Variant::FromDouble(double value) noexcept {
  Variant v;
  v.value_.vt = VT_R8;
  v.value_.dblVal = value;
  return v;
}

Variant Variant::FromInt(std::int32_t value) noexcept {
  Variant v;
  v.value_.vt = VT_I4;
  v.value_.lVal = value;
  return v;
}

Variant Variant::FromString(Bstr text) noexcept {
  Variant v;
  v.value_.vt = VT_BSTR;
  v.value_.bstrVal = text.release();
  return v;
}

std::optional<std::u16string> Variant::ToString() const {
  Variant converted;
  if (FAILED(::VariantChangeType(converted.put(), Source(), 0, VT_BSTR))) return std::nullopt;
  return BstrToUtf16(converted.value_.bstrVal);
}

std::optional<double> Variant::ToDouble() const {
  Variant converted;
  if (FAILED(::VariantChangeType(converted.put(), Source(), 0, VT_R8))) return std::nullopt;
  return converted.value_.dblVal;
}

ComPtr<IDispatch> Variant::ToDispatch() const {
  Variant converted;
  if (FAILED(::VariantChangeType(converted.put(), Source(), 0, VT_DISPATCH)) || !converted.value_.pdispVal) {
    return nullptr;
  }
  ComPtr<IDispatch> object;
  converted.value_.pdispVal->QueryInterface(IID_IDispatch, object.put_void());
  return object;
}

namespace {

HRESULT DispIdOf(IDispatch* object, const wchar_t* name, DISPID* id) noexcept {
  std::wstring copy(name);  // GetIDsOfNames takes non-const names
  LPOLESTR names[] = {copy.data()};
  return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, id);
}

HRESULT Invoke(IDispatch* object, const wchar_t* name, WORD flags, Variant& result, VARIANT* args,
               UINT argCount) noexcept {
  if (!object) return E_POINTER;
  try {
    DISPID id = 0;
    const HRESULT hr = DispIdOf(object, name, &id);
    if (FAILED(hr)) return hr;
    // DISPPARAMS lists the arguments last first.
    std::vector<VARIANTARG> reversed(args, args + argCount);
    std::reverse(reversed.begin(), reversed.end());
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr, argCount, 0};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.put(), nullptr, nullptr);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace

HRESULT PutProperty(IDispatch* object, const wchar_t* name, const VARIANT& value) noexcept {
  if (!object) return E_POINTER;
  try {
    DISPID id = 0;
    const HRESULT hr = DispIdOf(object, name, &id);
    if (FAILED(hr)) return hr;
    VARIANTARG arg = value;  // shallow: the callee only reads it
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&arg, &named, 1, 1};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT GetProperty(IDispatch* object, const wchar_t* name, Variant& result, VARIANT* args, UINT argCount) noexcept {
  return Invoke(object, name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, result, args, argCount);
}

HRESULT CallMethod(IDispatch* object, const wchar_t* name, Variant& result, VARIANT* args, UINT argCount) noexcept {
  return Invoke(object, name, DISPATCH_METHOD, result, args, argCount);
}
