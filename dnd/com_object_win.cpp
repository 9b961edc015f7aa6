#include "dnd/com_object.h"

#include <algorithm>
#include <mutex>
#include <string>

#include "util/codepage.h"

namespace {

volatile LONG moduleCount = 0;
volatile LONG comSetUpCount = 0;

// Recursive: a Release that destroys an object may reach the registry again on the same thread.
class RecursiveLock {
 public:
  RecursiveLock() noexcept { ::InitializeCriticalSection(&section_); }
  RecursiveLock(const RecursiveLock&) = delete;
  RecursiveLock& operator=(const RecursiveLock&) = delete;
  ~RecursiveLock() { ::DeleteCriticalSection(&section_); }
  void lock() noexcept { ::EnterCriticalSection(&section_); }
  void unlock() noexcept { ::LeaveCriticalSection(&section_); }

 private:
  CRITICAL_SECTION section_;
};

// Guards every object's interface-ID list; Release holds it across the decrement and the
// destruction it causes, so both run as one step.
RecursiveLock& ObjectLock() noexcept {
  static RecursiveLock lock;
  return lock;
}

constexpr char kIidUnknownText[] = "{00000000-0000-0000-C000-000000000046}";

}  // namespace

LONG ModuleCount() noexcept { return ::InterlockedCompareExchange(&moduleCount, 0, 0); }
LONG ComSetUpCount() noexcept { return ::InterlockedCompareExchange(&comSetUpCount, 0, 0); }

ComObjectBase::ComObjectBase() noexcept {
  ::InterlockedIncrement(&moduleCount);
  ::InterlockedIncrement(&comSetUpCount);
  addInterfaceId(kIidUnknownText);
}

ComObjectBase::~ComObjectBase() {
  {
    std::lock_guard guard(ObjectLock());
    interfaceIds_.clear();
  }
  ::InterlockedDecrement(&comSetUpCount);
  ::InterlockedDecrement(&moduleCount);
}

HRESULT ComObjectBase::addInterfaceId(const Text& idText) noexcept {
  try {
    const std::u16string wide = TextToUtf16(idText);
    GUID id{};
    if (wide.empty() || FAILED(::CLSIDFromString(reinterpret_cast<LPCOLESTR>(wide.c_str()), &id))) {
      return CO_E_OBJISREG;
    }
    std::lock_guard guard(ObjectLock());
    const bool listed = std::any_of(interfaceIds_.begin(), interfaceIds_.end(),
                                    [&](const GUID& listedId) { return ::IsEqualGUID(listedId, id) != FALSE; });
    if (!listed) interfaceIds_.push_back(id);
    return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

LONG ComObjectBase::refCount() const noexcept {
  return ::InterlockedCompareExchange(const_cast<volatile LONG*>(&refCount_), 0, 0);
}

std::vector<GUID> ComObjectBase::interfaceIds() const {
  std::lock_guard guard(ObjectLock());
  return interfaceIds_;
}

HRESULT ComObjectBase::QueryInterfaceOn(IUnknown* self, REFIID riid, void** ppv) noexcept {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  bool listed = false;
  {
    std::lock_guard guard(ObjectLock());
    listed = std::any_of(interfaceIds_.begin(), interfaceIds_.end(),
                         [&](const GUID& id) { return ::IsEqualGUID(id, riid) != FALSE; });
  }
  if (!listed) return E_NOINTERFACE;
  *ppv = self;
  self->AddRef();
  return S_OK;
}

ULONG ComObjectBase::AddRefOn() noexcept {
  ::InterlockedIncrement(&moduleCount);
  return static_cast<ULONG>(::InterlockedIncrement(&refCount_));
}

ULONG ComObjectBase::ReleaseOn() noexcept {
  ::InterlockedDecrement(&moduleCount);
  std::lock_guard guard(ObjectLock());
  const LONG count = ::InterlockedDecrement(&refCount_);
  // Exactly 0: a Release below zero (an unbalanced caller) destroys nothing.
  if (count == 0 && !keptUntilModuleExit_) delete this;
  return static_cast<ULONG>(count);
}
