#pragma once
// Calls through routine addresses and interface pointers that the program did not create itself.
// A null pointer is the one unusable value the program can meet (IsBadReadPtr/IsBadCodePtr probe
// nothing reliable and race with other threads), so a null test guards each pointer. An exception
// thrown by the callee never crosses back: the call then gives the empty result, as a refused call.
#include <cstddef>
#include <type_traits>
#include <utility>

// The calling convention of COM methods: __stdcall on 32-bit x86, the one convention elsewhere.
#if defined(_WIN32) && defined(__i386__)
#define FENNLOW_COM_CALL __attribute__((stdcall))
#else
#define FENNLOW_COM_CALL
#endif

// f(args...) when f is not null; the value-initialised result (0, null) otherwise.
template <typename F, typename... Args>
auto CallGuarded(F f, Args&&... args) noexcept -> decltype(f(std::forward<Args>(args)...)) {
  using Result = decltype(f(std::forward<Args>(args)...));
  if (f == nullptr) return Result();
  try {
    return f(std::forward<Args>(args)...);
  } catch (...) {
    return Result();
  }
}

// Method `slot` of an interface's method table, called with the interface pointer first and then
// args; 0 when the pointer or its table is null. Result gives the method's return type.
template <typename Result, typename... Args>
Result CallBySlot(void* object, std::size_t slot, Args... args) noexcept {
  using Method = Result(FENNLOW_COM_CALL*)(void*, Args...);
  if (object == nullptr) return Result();
  // A COM object starts with the address of its method table.
  void* const* table = *static_cast<void* const* const*>(object);
  if (table == nullptr) return Result();
  return CallGuarded(reinterpret_cast<Method>(table[slot]), object, args...);
}

// Release (slot 2) of the interface held by `pointer`, which is left null; Release's result, or 0
// and nothing done when it is already null.
template <typename Interface>
unsigned long ReleaseInterface(Interface*& pointer) noexcept {
  Interface* const held = std::exchange(pointer, nullptr);
  if (held == nullptr) return 0;
  return CallBySlot<unsigned long>(static_cast<void*>(held), 2);
}

// The same for an owner of one reference (ComPtr): the owner is left empty.
template <typename Owner>
  requires requires(Owner& owner) { owner.detach(); }
unsigned long ReleaseInterface(Owner& owner) noexcept {
  auto* held = owner.detach();
  return ReleaseInterface(held);
}
