#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dnd/drag_source.h"
#include <shellapi.h>
#include <shlobj.h>
#include "app/module_state.h"
#include "dnd/format_store.h"
#include "dnd/hdrop_block.h"
#include "util/codepage.h"

namespace {

FORMATETC Format(CLIPFORMAT cf, DWORD tymed = TYMED_HGLOBAL, DWORD aspect = DVASPECT_CONTENT, LONG lindex = -1,
                 DVTARGETDEVICE* ptd = nullptr) {
  return FORMATETC{cf, ptd, aspect, lindex, tymed};
}

Bytes GlobalBytes(HGLOBAL block) {
  const SIZE_T size = ::GlobalSize(block);
  class GlobalLock lock(block);
  if (!lock.data()) return {};
  const auto* data = static_cast<const std::uint8_t*>(lock.data());
  return Bytes(data, data + size);
}

STGMEDIUM GlobalMedium(const Bytes& bytes, IUnknown* unkForRelease = nullptr) {
  STGMEDIUM medium{};
  medium.tymed = TYMED_HGLOBAL;
  medium.hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  {
    class GlobalLock lock(medium.hGlobal);
    std::memcpy(lock.data(), bytes.data(), bytes.size());
  }
  medium.pUnkForRelease = unkForRelease;
  return medium;
}

// Counts the Releases that ReleaseStgMedium makes on a medium's pUnkForRelease.
class ReleaseCounter : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++adds; }
  ULONG STDMETHODCALLTYPE Release() override { return ++releases; }
  // References given back beyond those taken: a copied medium takes one and gives it back.
  [[nodiscard]] ULONG released() const { return releases - adds; }
  ULONG adds = 0;
  ULONG releases = 0;
};

class DragDataObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    SetUpDragSource();
    ASSERT_TRUE(dragSourceObject);
    object_ = HoldReference(dragSourceObject->dataObjectTemplate().createInstance());
    ASSERT_TRUE(object_);
  }
  void TearDown() override {
    object_.reset();
    EXPECT_EQ(formatStore.size(), 0u);
    DestroyDragSource();
    EXPECT_EQ(ModuleCount(), 0);
    ::OleUninitialize();
  }
  void Offer(UINT format, const Bytes& data) {
    formatStore.Append(object_.get(), Format(static_cast<CLIPFORMAT>(format)), MakeDragMedium(format, data));
  }
  Bytes Get(FORMATETC format, HRESULT expected = S_OK) {
    STGMEDIUM medium{};
    EXPECT_EQ(object_->GetData(&format, &medium), expected);
    if (expected != S_OK) return {};
    EXPECT_EQ(medium.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    Bytes bytes = GlobalBytes(medium.hGlobal);
    ::ReleaseStgMedium(&medium);
    return bytes;
  }
  ComPtr<IDataObject> object_;
};

TEST_F(DragDataObjectTest, FixedAnswersWhateverTheArguments) {
  FORMATETC format = Format(CF_HDROP);
  FORMATETC out = Format(CF_TEXT);
  STGMEDIUM medium{};
  DWORD connection = 77;
  IEnumSTATDATA* advises = reinterpret_cast<IEnumSTATDATA*>(1);
  EXPECT_EQ(object_->GetDataHere(nullptr, nullptr), DV_E_FORMATETC);
  EXPECT_EQ(object_->GetDataHere(&format, &medium), DV_E_FORMATETC);
  EXPECT_EQ(object_->GetCanonicalFormatEtc(nullptr, nullptr), E_NOTIMPL);
  EXPECT_EQ(object_->GetCanonicalFormatEtc(&format, &out), E_NOTIMPL);
  EXPECT_EQ(out.cfFormat, CF_TEXT);  // not written
  EXPECT_EQ(object_->DAdvise(nullptr, 0, nullptr, nullptr), OLE_E_ADVISENOTSUPPORTED);
  EXPECT_EQ(object_->DAdvise(&format, ADVF_NODATA, nullptr, &connection), OLE_E_ADVISENOTSUPPORTED);
  EXPECT_EQ(connection, 77u);
  EXPECT_EQ(object_->DUnadvise(0), OLE_E_ADVISENOTSUPPORTED);
  EXPECT_EQ(object_->DUnadvise(5), OLE_E_ADVISENOTSUPPORTED);
  EXPECT_EQ(object_->EnumDAdvise(nullptr), OLE_E_ADVISENOTSUPPORTED);
  EXPECT_EQ(object_->EnumDAdvise(&advises), OLE_E_ADVISENOTSUPPORTED);
  EXPECT_EQ(advises, reinterpret_cast<IEnumSTATDATA*>(1));
}

TEST_F(DragDataObjectTest, NullPointersAreInvalidArguments) {
  FORMATETC format = Format(CF_HDROP);
  STGMEDIUM medium{};
  EXPECT_EQ(object_->GetData(nullptr, &medium), E_INVALIDARG);
  EXPECT_EQ(object_->GetData(&format, nullptr), E_INVALIDARG);
  EXPECT_EQ(object_->QueryGetData(nullptr), E_INVALIDARG);
  EXPECT_EQ(object_->SetData(nullptr, &medium, TRUE), E_INVALIDARG);
  EXPECT_EQ(object_->SetData(&format, nullptr, TRUE), E_INVALIDARG);
  EXPECT_EQ(formatStore.size(), 0u);
}

TEST_F(DragDataObjectTest, HdropBlockHoldsThePathAsAOneNameWideList) {
  const struct {
    Text path;
    std::u16string expected;
  } cases[] = {
      {"C:\\run\\icon\\ic_launcher.png", u"C:\\run\\icon\\ic_launcher.png"},
      {"Z:\\\xCF\xC2\xD4\xD8\\\xCD\xBC\xB1\xEA.png", u"Z:\\下载\\图标.png"},  // code page 936 in, UTF-16 out
      {"", u""},
  };
  for (const auto& c : cases) {
    const StoredMedium medium = MakeDragMedium(CF_HDROP, TextToBytes(c.path));
    ASSERT_EQ(medium.get().tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    const Bytes block = GlobalBytes(medium.get().hGlobal);
    ASSERT_EQ(block.size(), 20 + 2 * c.expected.size() + 4) << c.path;
    const DROPFILES* header = reinterpret_cast<const DROPFILES*>(block.data());
    EXPECT_EQ(header->pFiles, 20u);
    EXPECT_EQ(header->pt.x, 0);
    EXPECT_EQ(header->pt.y, 0);
    EXPECT_EQ(header->fNC, FALSE);
    EXPECT_EQ(header->fWide, TRUE);
    std::u16string units(reinterpret_cast<const char16_t*>(block.data() + 20), (block.size() - 20) / 2);
    EXPECT_EQ(units, c.expected + u'\0' + u'\0');

    // What a receiver reads back from it.
    if (!c.expected.empty()) {
      wchar_t name[MAX_PATH] = {};
      auto drop = static_cast<HDROP>(medium.get().hGlobal);
      EXPECT_EQ(::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0), 1u);
      EXPECT_EQ(::DragQueryFileW(drop, 0, name, MAX_PATH), c.expected.size());
      EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(name)), c.expected);
    }
  }
}

TEST_F(DragDataObjectTest, TextBlocksHoldTheBytesAsPassedAndTwoZeroBytes) {
  const Bytes ansi = {'a', 0xCD, 0xBC, 'z'};
  const Bytes utf16 = {0xFE, 0x56, 0x41, 0x00};
  for (UINT format : {static_cast<UINT>(CF_TEXT), static_cast<UINT>(CF_UNICODETEXT)}) {
    const Bytes& data = format == CF_TEXT ? ansi : utf16;
    const StoredMedium medium = MakeDragMedium(format, data);
    Bytes expected = data;
    expected.insert(expected.end(), {0, 0});
    EXPECT_EQ(GlobalBytes(medium.get().hGlobal), expected);
    EXPECT_EQ(GlobalBytes(MakeDragMedium(format, {}).get().hGlobal), (Bytes{0, 0}));
  }
  EXPECT_EQ(MakeDragMedium(CF_BITMAP, ansi).get().tymed, static_cast<DWORD>(TYMED_NULL));
}

TEST_F(DragDataObjectTest, LookupMatchesTymedAspectAndFormatButNotPtdOrLindex) {
  Offer(CF_HDROP, TextToBytes("C:\\a.png"));
  const Bytes stored = GlobalBytes(MakeDragMedium(CF_HDROP, TextToBytes("C:\\a.png")).get().hGlobal);
  DVTARGETDEVICE device{};
  device.tdSize = sizeof(device);
  const struct {
    const char* name;
    FORMATETC format;
    bool matches;
  } cases[] = {
      {"exact", Format(CF_HDROP), true},
      {"other lindex", Format(CF_HDROP, TYMED_HGLOBAL, DVASPECT_CONTENT, 0), true},
      {"other ptd", Format(CF_HDROP, TYMED_HGLOBAL, DVASPECT_CONTENT, -1, &device), true},
      {"tymed HGLOBAL|ISTREAM", Format(CF_HDROP, TYMED_HGLOBAL | TYMED_ISTREAM), false},
      {"tymed ISTREAM", Format(CF_HDROP, TYMED_ISTREAM), false},
      {"aspect ICON", Format(CF_HDROP, TYMED_HGLOBAL, DVASPECT_ICON), false},
      {"aspect THUMBNAIL", Format(CF_HDROP, TYMED_HGLOBAL, DVASPECT_THUMBNAIL), false},
      {"CF_TEXT (enumerated, not stored)", Format(CF_TEXT), false},
      {"CF_UNICODETEXT (enumerated, not stored)", Format(CF_UNICODETEXT), false},
  };
  for (const auto& c : cases) {
    FORMATETC format = c.format;
    EXPECT_EQ(object_->QueryGetData(&format), c.matches ? S_OK : E_NOTIMPL) << c.name;
    const Bytes got = Get(format, c.matches ? S_OK : E_NOTIMPL);
    if (c.matches) {
      EXPECT_EQ(got, stored) << c.name;
    }
  }
}

TEST_F(DragDataObjectTest, GetDataHandsOutACopyAndKeepsTheStoredMedium) {
  Offer(CF_HDROP, TextToBytes("C:\\a.png"));
  FORMATETC format = Format(CF_HDROP);
  STGMEDIUM first{};
  STGMEDIUM second{};
  ASSERT_EQ(object_->GetData(&format, &first), S_OK);
  ASSERT_EQ(object_->GetData(&format, &second), S_OK);
  EXPECT_NE(first.hGlobal, second.hGlobal);
  EXPECT_EQ(GlobalBytes(first.hGlobal), GlobalBytes(second.hGlobal));
  ::ReleaseStgMedium(&first);
  ::ReleaseStgMedium(&second);
  EXPECT_EQ(Get(format).size(), 20u + 2 * 8 + 4);
}

TEST_F(DragDataObjectTest, EnumFormatEtcListsTheFixedThreeFormatsInEitherDirection) {
  for (DWORD direction : {static_cast<DWORD>(DATADIR_GET), static_cast<DWORD>(DATADIR_SET)}) {
    IEnumFORMATETC* raw = nullptr;
    ASSERT_EQ(object_->EnumFormatEtc(direction, &raw), S_OK);
    ComPtr<IEnumFORMATETC> formats = ComPtr<IEnumFORMATETC>::Attach(raw);
    FORMATETC listed[4] = {};
    ULONG fetched = 0;
    EXPECT_EQ(formats->Next(4, listed, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 3u);
    const CLIPFORMAT expected[] = {CF_HDROP, CF_TEXT, CF_UNICODETEXT};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(listed[i].cfFormat, expected[i]);
      EXPECT_EQ(listed[i].ptd, nullptr);
      EXPECT_EQ(listed[i].dwAspect, static_cast<DWORD>(DVASPECT_CONTENT));
      EXPECT_EQ(listed[i].lindex, -1);
      EXPECT_EQ(listed[i].tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    }
  }
  IEnumFORMATETC* none = nullptr;
  EXPECT_EQ(object_->EnumFormatEtc(3, &none), E_INVALIDARG);
  EXPECT_EQ(none, nullptr);
}

TEST_F(DragDataObjectTest, SetDataAppendsANewKeyAndReplacesAStoredOne) {
  Offer(CF_HDROP, TextToBytes("C:\\a.png"));
  const CLIPFORMAT custom = static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"Fennlow Test Format"));
  ReleaseCounter firstOwner;
  ReleaseCounter secondOwner;

  FORMATETC format = Format(custom);
  STGMEDIUM first = GlobalMedium({1, 2, 3}, &firstOwner);
  ASSERT_EQ(object_->SetData(&format, &first, TRUE), S_OK);  // appended
  EXPECT_EQ(formatStore.CountOf(object_.get()), 2u);
  EXPECT_EQ(Get(format), (Bytes{1, 2, 3}));
  EXPECT_EQ(firstOwner.released(), 0u);

  FORMATETC sameKey = Format(custom, TYMED_HGLOBAL, DVASPECT_CONTENT, 4);
  STGMEDIUM second = GlobalMedium({9, 8}, &secondOwner);
  ASSERT_EQ(object_->SetData(&sameKey, &second, TRUE), S_OK);  // replaced: the earlier medium is released
  EXPECT_EQ(formatStore.CountOf(object_.get()), 2u);
  EXPECT_EQ(firstOwner.released(), 1u);
  EXPECT_EQ(Get(format), (Bytes{9, 8}));
  ::GlobalFree(first.hGlobal);  // with pUnkForRelease set, freeing the block stays with its owner

  FORMATETC hdrop = Format(CF_HDROP);
  EXPECT_EQ(Get(hdrop).size(), 20u + 2 * 8 + 4);  // the other entry is untouched

  object_.reset();  // destroying the object releases what it still holds
  EXPECT_EQ(secondOwner.released(), 1u);
  ::GlobalFree(second.hGlobal);
}

TEST_F(DragDataObjectTest, SetDataWithoutReleaseKeepsACopyAndLeavesTheCallersMedium) {
  FORMATETC format = Format(CF_TEXT);
  STGMEDIUM callers = GlobalMedium({'h', 'i', 0});
  ASSERT_EQ(object_->SetData(&format, &callers, FALSE), S_OK);
  EXPECT_EQ(Get(format), (Bytes{'h', 'i', 0}));
  object_.reset();
  EXPECT_EQ(GlobalBytes(callers.hGlobal), (Bytes{'h', 'i', 0}));  // still the caller's, still valid
  ::ReleaseStgMedium(&callers);
}

TEST_F(DragDataObjectTest, EachDataObjectServesAndDropsOnlyItsOwnEntries) {
  Offer(CF_HDROP, TextToBytes("C:\\old.png"));
  ComPtr<IDataObject> later = HoldReference(dragSourceObject->dataObjectTemplate().createInstance());
  formatStore.Append(later.get(), Format(CF_HDROP), MakeDragMedium(CF_HDROP, TextToBytes("C:\\new.png")));
  FORMATETC format = Format(CF_HDROP);
  STGMEDIUM medium{};
  ASSERT_EQ(later->GetData(&format, &medium), S_OK);
  wchar_t name[MAX_PATH] = {};
  ::DragQueryFileW(static_cast<HDROP>(medium.hGlobal), 0, name, MAX_PATH);
  EXPECT_STREQ(name, L"C:\\new.png");
  ::ReleaseStgMedium(&medium);

  object_.reset();  // an earlier drag's object dying late leaves the current drag's data in place
  EXPECT_EQ(formatStore.size(), 1u);
  EXPECT_EQ(later->QueryGetData(&format), S_OK);
}

TEST(DragSourceAnswers, QueryContinueDragAndGiveFeedback) {
  ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
  SetUpDragSource();
  IDropSource* source = dragSourceObject->getInterface();
  const struct {
    BOOL escape;
    DWORD keys;
    HRESULT expected;
  } cases[] = {
      {FALSE, MK_LBUTTON, S_OK},
      {FALSE, MK_LBUTTON | MK_SHIFT | MK_CONTROL | MK_RBUTTON, S_OK},
      {FALSE, 0, DRAGDROP_S_DROP},
      {FALSE, MK_RBUTTON | MK_MBUTTON | MK_SHIFT, DRAGDROP_S_DROP},
      {TRUE, MK_LBUTTON, DRAGDROP_S_CANCEL},
      {TRUE, 0, DRAGDROP_S_CANCEL},
      {2, MK_LBUTTON, DRAGDROP_S_CANCEL},
  };
  for (const auto& c : cases) EXPECT_EQ(source->QueryContinueDrag(c.escape, c.keys), c.expected) << c.keys;
  for (DWORD effect : {DWORD{DROPEFFECT_NONE}, DWORD{DROPEFFECT_COPY}, DWORD{DROPEFFECT_MOVE}, DWORD{DROPEFFECT_LINK}, DWORD{0xFFFFFFFFu}}) {
    EXPECT_EQ(source->GiveFeedback(effect), DRAGDROP_S_USEDEFAULTCURSORS);
  }
  DestroyDragSource();
  ::OleUninitialize();
}

TEST(DragSourceAnswers, StartDragRefusesOtherFormatsWithoutStoringAnything) {
  ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
  SetUpDragSource();
  for (UINT format : {0u, 2u, 14u, 16u, 49000u, 15u + 0x10000u}) {
    EXPECT_FALSE(dragSourceObject->StartDrag(format, TextToBytes("C:\\a.png"), UniqueBitmap(), SIZE{0, 0},
                                             POINT{0, 0}))
        << format;
    EXPECT_EQ(formatStore.size(), 0u);
    EXPECT_EQ(ComSetUpCount(), 2);
  }
  DestroyDragSource();
  ::OleUninitialize();
}

}  // namespace

namespace {

class PictureBoxDragTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    SetUpDragSource();
  }
  void TearDown() override {
    currentIconPath.clear();
    DestroyDragSource();
    EXPECT_EQ(ModuleCount(), 0);
    ::OleUninitialize();
  }
};

TEST_F(PictureBoxDragTest, APressWithNoIconFileDoesNothing) {
  currentIconPath.clear();
  OnPictureBoxLeftButtonDown();
  EXPECT_EQ(formatStore.size(), 0u);
  EXPECT_EQ(ModuleCount(), 2);
  EXPECT_EQ(ComSetUpCount(), 2);
}

// With the button already up, OLE's first QueryContinueDrag ends the drag at once (a drop on
// nothing); afterwards the drag's data object must be gone with its entry, and the source kept.
TEST_F(PictureBoxDragTest, ADragThatEndsAtOnceLeavesNoDataObjectBehind) {
  currentIconPath = "C:\\run\\icon\\\xCD\xBC\xB1\xEA.png";
  for (int drag = 0; drag < 3; ++drag) {
    OnPictureBoxLeftButtonDown();
    EXPECT_EQ(formatStore.size(), 0u);
    EXPECT_EQ(ModuleCount(), 2);
    EXPECT_EQ(ComSetUpCount(), 2);
    EXPECT_EQ(dragSourceObject->refCount(), 0);
  }
  EXPECT_TRUE(dragSourceObject->StartDrag(CF_UNICODETEXT, Utf16ToLeBytes(u"text"), UniqueBitmap(), SIZE{0, 0},
                                          POINT{0, 0}));
  EXPECT_EQ(formatStore.size(), 0u);
}

}  // namespace
