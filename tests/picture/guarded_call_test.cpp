// Guarded calls through routine addresses and method tables.
#include <gtest/gtest.h>

#include <stdexcept>

#include "picture/guarded_call.h"

namespace {

int Sum3(int a, int b, int c) { return a * 100 + b * 10 + c; }
int Throws(int) { throw std::runtime_error("callee failed"); }

int dropped = 0;
void Record(const char* path) { dropped += path[0]; }

TEST(CallGuarded, CallsWithTheArgumentsInOrder) {
  EXPECT_EQ(CallGuarded(&Sum3, 1, 2, 3), 123);
  dropped = 0;
  CallGuarded(&Record, "A");
  EXPECT_EQ(dropped, 'A');
}

TEST(CallGuarded, NullOrThrowingRoutineGivesZero) {
  int (*none)(int, int, int) = nullptr;
  EXPECT_EQ(CallGuarded(none, 1, 2, 3), 0);
  void (*noCallback)(const char*) = nullptr;
  CallGuarded(noCallback, "A");  // must not call anything
  EXPECT_EQ(CallGuarded(&Throws, 1), 0);
}

// A hand-made object in the COM layout: a pointer to a table of methods taking the object first.
struct FakeObject {
  void* const* table;
  unsigned long count;
};

unsigned long FENNLOW_COM_CALL AddRef(void* self) { return ++static_cast<FakeObject*>(self)->count; }
unsigned long FENNLOW_COM_CALL Release(void* self) { return --static_cast<FakeObject*>(self)->count; }
long FENNLOW_COM_CALL GetValue(void* self, int* out) {
  *out = static_cast<int>(static_cast<FakeObject*>(self)->count) + 1000;
  return 0;
}
long FENNLOW_COM_CALL Nine(void*, int a, int b, int c, int d, int e, int f, int g, int h, int i) {
  return ((((((((a * 2 + b) * 2 + c) * 2 + d) * 2 + e) * 2 + f) * 2 + g) * 2 + h) * 2) + i;
}

void* const kTable[] = {nullptr, reinterpret_cast<void*>(&AddRef), reinterpret_cast<void*>(&Release),
                        reinterpret_cast<void*>(&GetValue), reinterpret_cast<void*>(&Nine)};

TEST(CallBySlot, CallsTheSlotWithTheObjectFirst) {
  FakeObject object{kTable, 5};
  int value = 0;
  EXPECT_EQ(CallBySlot<long>(&object, 3, &value), 0);
  EXPECT_EQ(value, 1005);
  EXPECT_EQ(CallBySlot<unsigned long>(&object, 1), 6u);
  EXPECT_EQ(CallBySlot<long>(&object, 4, 1, 0, 1, 0, 1, 0, 1, 0, 1), 0b101010101);
}

TEST(CallBySlot, NullObjectTableOrMethodGivesZero) {
  int value = 7;
  EXPECT_EQ(CallBySlot<long>(nullptr, 3, &value), 0);
  EXPECT_EQ(value, 7);
  FakeObject noTable{nullptr, 5};
  EXPECT_EQ(CallBySlot<long>(&noTable, 3, &value), 0);
  FakeObject object{kTable, 5};
  EXPECT_EQ(CallBySlot<long>(&object, 0), 0);  // empty slot
  EXPECT_EQ(object.count, 5u);
}

struct Owner {
  FakeObject* held;
  FakeObject* detach() { return std::exchange(held, nullptr); }
};

TEST(ReleaseInterface, ReleasesOnceAndClears) {
  FakeObject object{kTable, 2};
  FakeObject* pointer = &object;
  EXPECT_EQ(ReleaseInterface(pointer), 1u);
  EXPECT_EQ(pointer, nullptr);
  EXPECT_EQ(ReleaseInterface(pointer), 0u);  // null: nothing called
  EXPECT_EQ(object.count, 1u);
  Owner owner{&object};
  EXPECT_EQ(ReleaseInterface(owner), 0u);
  EXPECT_EQ(owner.held, nullptr);
  EXPECT_EQ(object.count, 0u);
}

}  // namespace
