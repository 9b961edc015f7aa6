#pragma once
// Base of the program's COM objects: one interface pointer per object, an interface-ID list that
// QueryInterface searches, reference counts that start at 0, destruction when Release reaches 0.
#include <memory>
#include <vector>

#include "util/com_ptr.h"
#include "util/text.h"
#include "util/windows_prelude.h"
#include <unknwn.h>

// Objects between set-up and teardown, plus AddRefs not yet released.
[[nodiscard]] LONG ModuleCount() noexcept;
// Objects between set-up and teardown.
[[nodiscard]] LONG ComSetUpCount() noexcept;

class ComObjectBase {
 public:
  ComObjectBase(const ComObjectBase&) = delete;
  ComObjectBase& operator=(const ComObjectBase&) = delete;

  // Lists the ID given as "{xxxxxxxx-...}" text in code page 936, once: S_OK, or CO_E_OBJISREG when
  // the text does not parse (the list is then unchanged).
  HRESULT addInterfaceId(const Text& idText) noexcept;

  [[nodiscard]] LONG refCount() const noexcept;
  [[nodiscard]] std::vector<GUID> interfaceIds() const;

  // Release no longer destroys the object at 0; only DestroyAtModuleExit does.
  void KeepUntilModuleExit() noexcept { keptUntilModuleExit_ = true; }

  // Deleter of the module's global objects: destroys once, whatever the counts.
  struct DestroyAtModuleExit {
    void operator()(ComObjectBase* object) const noexcept { delete object; }
  };

 protected:
  // Set-up, in this order: the module count, then the identity with IID_IUnknown listed first.
  ComObjectBase() noexcept;
  // Teardown, after the class's own: the identity, then the module count.
  virtual ~ComObjectBase();

  HRESULT QueryInterfaceOn(IUnknown* self, REFIID riid, void** ppv) noexcept;
  ULONG AddRefOn() noexcept;
  ULONG ReleaseOn() noexcept;

 private:
  volatile LONG refCount_ = 0;
  bool keptUntilModuleExit_ = false;
  std::vector<GUID> interfaceIds_;
};

// Implements IUnknown of a class with one COM interface; `this` as Interface* is its only pointer.
template <typename Interface>
class ComObject : public Interface, public ComObjectBase {
 public:
  // The object's interface pointer, stable for its life; no reference is added.
  [[nodiscard]] Interface* getInterface() noexcept { return this; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) noexcept override {
    return QueryInterfaceOn(getInterface(), riid, ppv);
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return AddRefOn(); }
  ULONG STDMETHODCALLTYPE Release() noexcept override { return ReleaseOn(); }
};

template <typename T>
using GlobalComObject = std::unique_ptr<T, ComObjectBase::DestroyAtModuleExit>;

// Takes a reference of the caller's own on a pointer that may have count 0.
template <typename T>
[[nodiscard]] ComPtr<T> HoldReference(T* object) noexcept {
  if (object) object->AddRef();
  return ComPtr<T>::Attach(object);
}
