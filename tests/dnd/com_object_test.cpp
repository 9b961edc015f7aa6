#include "dnd/com_object.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "dnd/drag_source.h"
#include "dnd/format_store.h"

namespace {

class ComObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    ASSERT_EQ(ModuleCount(), 0);
    ASSERT_EQ(ComSetUpCount(), 0);
  }
  void TearDown() override {
    DestroyDragSource();
    EXPECT_EQ(ModuleCount(), 0);
    EXPECT_EQ(ComSetUpCount(), 0);
    ::OleUninitialize();
  }
};

// A fresh data object (count 0) whose destruction shows as its stored entry disappearing.
IDataObject* FreshDataObjectWithEntry(DragDataObject& source) {
  IDataObject* object = source.createInstance();
  formatStore.Append(object, FORMATETC{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL},
                     MakeDragMedium(CF_TEXT, Bytes{'x'}));
  return object;
}

TEST_F(ComObjectTest, StartUpSetsUpTheTwoGlobalObjectsWithCountZero) {
  SetUpDragSource();
  ASSERT_TRUE(dragSourceObject);
  EXPECT_EQ(ModuleCount(), 2);
  EXPECT_EQ(ComSetUpCount(), 2);
  EXPECT_EQ(dragSourceObject->refCount(), 0);
  EXPECT_EQ(dragSourceObject->dataObjectTemplate().refCount(), 0);
  EXPECT_EQ(formatStore.size(), 0u);
}

TEST_F(ComObjectTest, QueryInterfaceGivesTheOnePointerForListedIdsOnly) {
  SetUpDragSource();
  IUnknown* source = dragSourceObject->getInterface();
  IUnknown* data = dragSourceObject->dataObjectTemplate().getInterface();
  const struct {
    IUnknown* object;
    IID iid;
    bool listed;
  } cases[] = {
      {source, IID_IUnknown, true},       {source, IID_IDropSource, true},  {source, IID_IDataObject, false},
      {source, IID_IStream, false},       {data, IID_IUnknown, true},       {data, IID_IDataObject, true},
      {data, IID_IDropSource, false},     {data, IID_IEnumFORMATETC, false},
  };
  for (const auto& c : cases) {
    auto* base = c.object == source ? static_cast<ComObjectBase*>(dragSourceObject.get())
                                    : static_cast<ComObjectBase*>(&dragSourceObject->dataObjectTemplate());
    const LONG before = base->refCount();
    void* out = reinterpret_cast<void*>(1);
    const HRESULT hr = c.object->QueryInterface(c.iid, &out);
    if (c.listed) {
      EXPECT_EQ(hr, S_OK);
      EXPECT_EQ(out, c.object);
      EXPECT_EQ(base->refCount(), before + 1);
      static_cast<IUnknown*>(out)->Release();
    } else {
      EXPECT_EQ(hr, E_NOINTERFACE);
      EXPECT_EQ(out, nullptr);
      EXPECT_EQ(base->refCount(), before);
    }
  }
  EXPECT_EQ(dragSourceObject->refCount(), 0);
  EXPECT_EQ(ModuleCount(), 2);
}

TEST_F(ComObjectTest, CountsStartAtZeroAndTheReleaseToZeroDestroys) {
  SetUpDragSource();
  IDataObject* object = FreshDataObjectWithEntry(dragSourceObject->dataObjectTemplate());
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(ComSetUpCount(), 3);
  EXPECT_EQ(ModuleCount(), 3);

  EXPECT_EQ(object->AddRef(), 1u);
  EXPECT_EQ(ModuleCount(), 4);
  EXPECT_EQ(object->AddRef(), 2u);
  EXPECT_EQ(object->Release(), 1u);  // two AddRefs, one Release: still alive
  EXPECT_EQ(ComSetUpCount(), 3);
  EXPECT_EQ(formatStore.CountOf(object), 1u);

  EXPECT_EQ(object->Release(), 0u);  // destroyed: torn down and its entries dropped
  EXPECT_EQ(ComSetUpCount(), 2);
  EXPECT_EQ(ModuleCount(), 2);
  EXPECT_EQ(formatStore.size(), 0u);
}

TEST_F(ComObjectTest, ReleaseBelowZeroDestroysNothing) {
  SetUpDragSource();
  IDataObject* object = FreshDataObjectWithEntry(dragSourceObject->dataObjectTemplate());
  EXPECT_EQ(object->Release(), 0xFFFFFFFFu);
  EXPECT_EQ(ComSetUpCount(), 3);
  EXPECT_EQ(formatStore.CountOf(object), 1u);
  EXPECT_EQ(object->AddRef(), 0u);
  EXPECT_EQ(object->AddRef(), 1u);
  EXPECT_EQ(object->Release(), 0u);
  EXPECT_EQ(ComSetUpCount(), 2);
}

TEST_F(ComObjectTest, GlobalObjectsOutliveAReleaseToZeroAndAreDestroyedOnceAtExit) {
  SetUpDragSource();
  IDropSource* source = dragSourceObject->getInterface();
  IDataObject* templateObject = dragSourceObject->dataObjectTemplate().getInterface();
  EXPECT_EQ(source->AddRef(), 1u);
  EXPECT_EQ(source->Release(), 0u);
  EXPECT_EQ(templateObject->AddRef(), 1u);
  EXPECT_EQ(templateObject->Release(), 0u);
  EXPECT_EQ(ComSetUpCount(), 2);
  EXPECT_EQ(source->GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);  // still usable

  DestroyDragSource();
  EXPECT_EQ(ComSetUpCount(), 0);
  EXPECT_EQ(ModuleCount(), 0);
  DestroyDragSource();  // a second exit finds nothing left to destroy
  EXPECT_EQ(ComSetUpCount(), 0);
}

TEST_F(ComObjectTest, AddInterfaceIdListsEachParsableIdOnce) {
  SetUpDragSource();
  DragSource& source = *dragSourceObject;
  const std::vector<GUID> before = source.interfaceIds();
  ASSERT_EQ(before.size(), 2u);
  EXPECT_TRUE(::IsEqualGUID(before[0], IID_IUnknown));
  EXPECT_TRUE(::IsEqualGUID(before[1], IID_IDropSource));

  const struct {
    const char* text;
    HRESULT result;
    std::size_t count;
  } cases[] = {
      {"{00000121-0000-0000-C000-000000000046}", S_OK, 2},  // already listed
      {"{00000000-0000-0000-c000-000000000046}", S_OK, 2},  // the same ID in small letters
      {"{not-an-interface-id}", CO_E_OBJISREG, 2},
      {"", CO_E_OBJISREG, 2},
      {"0000010c-0000-0000-C000-000000000046", CO_E_OBJISREG, 2},  // no braces
      {"{0000010c-0000-0000-C000-000000000046}", S_OK, 3},          // IPersist, appended last
  };
  for (const auto& c : cases) {
    EXPECT_EQ(source.addInterfaceId(c.text), c.result) << c.text;
    EXPECT_EQ(source.interfaceIds().size(), c.count) << c.text;
  }
  void* out = nullptr;
  EXPECT_EQ(source.getInterface()->QueryInterface(IID_IPersist, &out), S_OK);
  EXPECT_EQ(out, source.getInterface());
  static_cast<IUnknown*>(out)->Release();
}

TEST_F(ComObjectTest, GetInterfaceIsStableAndAddsNoReference) {
  SetUpDragSource();
  IDropSource* first = dragSourceObject->getInterface();
  EXPECT_EQ(dragSourceObject->getInterface(), first);
  EXPECT_EQ(dragSourceObject->refCount(), 0);
  IDataObject* data = dragSourceObject->dataObjectTemplate().createInstance();
  auto held = HoldReference(data);
  void* viaQuery = nullptr;
  ASSERT_EQ(data->QueryInterface(IID_IUnknown, &viaQuery), S_OK);
  EXPECT_EQ(viaQuery, data);
  static_cast<IUnknown*>(viaQuery)->Release();
}

TEST_F(ComObjectTest, CountsStayExactUnderConcurrentUse) {
  SetUpDragSource();
  auto held = HoldReference(dragSourceObject->dataObjectTemplate().createInstance());
  IDataObject* object = held.get();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([object] {
      for (int i = 0; i < 5000; ++i) {
        object->AddRef();
        void* out = nullptr;
        if (SUCCEEDED(object->QueryInterface(IID_IDataObject, &out))) static_cast<IUnknown*>(out)->Release();
        object->Release();
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(static_cast<DragDataObject*>(object)->refCount(), 1);
  EXPECT_EQ(ModuleCount(), 4);  // two globals, the held object and its one reference
}

}  // namespace
