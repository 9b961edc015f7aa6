#include "dnd/drag_source.h"

#include <cstring>
#include <new>
#include <string>

#include <shlobj.h>
#include <urlmon.h>

#include "app/module_state.h"
#include "dnd/hdrop_block.h"
#include "util/codepage.h"

namespace {

constexpr char kIidDataObjectText[] = "{0000010e-0000-0000-C000-000000000046}";
constexpr char kIidDropSourceText[] = "{00000121-0000-0000-C000-000000000046}";

FORMATETC HGlobalFormat(CLIPFORMAT format) noexcept {
  return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

UniqueGlobal GlobalFromBytes(const Bytes& bytes, UINT flags) noexcept {
  UniqueGlobal block(::GlobalAlloc(flags, bytes.size()));
  if (!block) return block;
  class GlobalLock lock(block.get());  // the class, not the function of the same name
  if (!lock.data()) return UniqueGlobal();
  if (!bytes.empty()) std::memcpy(lock.data(), bytes.data(), bytes.size());
  return block;
}

StoredMedium HGlobalMedium(UniqueGlobal block) noexcept {
  if (!block) return StoredMedium();
  STGMEDIUM medium{};
  medium.tymed = TYMED_HGLOBAL;
  medium.hGlobal = block.release();  // the medium owns the block from here on
  return StoredMedium(medium);
}

}  // namespace

DragDataObject::DragDataObject() noexcept { addInterfaceId(kIidDataObjectText); }

DragDataObject::~DragDataObject() { formatStore.RemoveOwner(getInterface()); }

IDataObject* DragDataObject::createInstance() const noexcept {
  // Owned by its reference count from here on: the Release that brings it back to 0 deletes it.
  DragDataObject* object = new (std::nothrow) DragDataObject();
  return object ? object->getInterface() : nullptr;
}

HRESULT DragDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) noexcept {
  if (!format || !medium) return E_INVALIDARG;
  const STGMEDIUM* stored = formatStore.Find(getInterface(), *format);
  if (!stored) return E_NOTIMPL;
  *medium = STGMEDIUM{};
  // The caller gets its own copy; a failed copy is reported rather than handed out empty.
  return ::CopyStgMedium(stored, medium);
}

HRESULT DragDataObject::GetDataHere(FORMATETC*, STGMEDIUM*) noexcept { return DV_E_FORMATETC; }

HRESULT DragDataObject::QueryGetData(FORMATETC* format) noexcept {
  if (!format) return E_INVALIDARG;
  return formatStore.Find(getInterface(), *format) ? S_OK : E_NOTIMPL;
}

HRESULT DragDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) noexcept { return E_NOTIMPL; }

HRESULT DragDataObject::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) noexcept {
  if (!format || !medium) return E_INVALIDARG;
  StoredMedium owned;
  if (release) {
    owned = StoredMedium(*medium);
  } else {
    // The caller keeps its medium; the store keeps a copy of its own.
    STGMEDIUM copy{};
    const HRESULT hr = ::CopyStgMedium(medium, &copy);
    if (FAILED(hr)) return hr;
    owned = StoredMedium(copy);
  }
  try {
    formatStore.Set(getInterface(), *format, std::move(owned));
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT DragDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) noexcept {
  if (!enumerator) return E_INVALIDARG;
  *enumerator = nullptr;
  if (direction != DATADIR_GET && direction != DATADIR_SET) return E_INVALIDARG;
  const FORMATETC offered[] = {HGlobalFormat(CF_HDROP), HGlobalFormat(CF_TEXT), HGlobalFormat(CF_UNICODETEXT)};
  return ::SHCreateStdEnumFmtEtc(3, offered, enumerator);
}

HRESULT DragDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) noexcept { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT DragDataObject::DUnadvise(DWORD) noexcept { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT DragDataObject::EnumDAdvise(IEnumSTATDATA**) noexcept { return OLE_E_ADVISENOTSUPPORTED; }

StoredMedium MakeDragMedium(UINT format, const Bytes& data) {
  if (format == CF_HDROP) {
    const Text path = BytesToText(data);
    const std::u16string wide = TextToUtf16(path);
    if (!path.empty() && wide.empty()) return StoredMedium();
    return HGlobalMedium(GlobalFromBytes(BuildDropFilesBlock({Utf16ToLeBytes(wide)}, true), GMEM_MOVEABLE | GMEM_ZEROINIT));
  }
  if (format == CF_TEXT || format == CF_UNICODETEXT) {
    Bytes text = data;
    text.push_back(0);
    text.push_back(0);
    return HGlobalMedium(GlobalFromBytes(text, GMEM_MOVEABLE | GMEM_DDESHARE));
  }
  return StoredMedium();
}

DragSource::DragSource() noexcept : dataObjectTemplate_(new (std::nothrow) DragDataObject()) {
  addInterfaceId(kIidDropSourceText);
  if (dataObjectTemplate_) dataObjectTemplate_->KeepUntilModuleExit();
  // The drag-image helper is optional: without it drags simply show no picture.
  ::CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDragSourceHelper,
                     dragHelper_.put_void());
}

DragSource::~DragSource() = default;

bool DragSource::StartDrag(UINT format, const Bytes& data, UniqueBitmap dragBitmap, SIZE imageSize,
                           POINT imageOffset) noexcept {
  try {
    if (format != CF_HDROP && format != CF_TEXT && format != CF_UNICODETEXT) return false;
    if (!dataObjectTemplate_) return false;
    StoredMedium medium = MakeDragMedium(format, data);
    if (medium.get().tymed == TYMED_NULL) return false;

    // One reference of our own keeps the data object alive across the helper and DoDragDrop; giving it
    // back afterwards destroys the object (and its entries) once OLE and the target have let go.
    ComPtr<IDataObject> dataObject = HoldReference(dataObjectTemplate_->createInstance());
    if (!dataObject) return false;
    formatStore.Append(dataObject.get(), HGlobalFormat(static_cast<CLIPFORMAT>(format)), std::move(medium));

    if (dragBitmap && dragHelper_) {
      SHDRAGIMAGE image{};
      image.sizeDragImage = imageSize;
      image.ptOffset = imageOffset;
      image.hbmpDragImage = dragBitmap.get();
      image.crColorKey = CLR_NONE;
      if (SUCCEEDED(dragHelper_->InitializeFromBitmap(&image, dataObject.get()))) {
        static_cast<void>(dragBitmap.release());  // the helper owns the bitmap now
      }
    }

    // Held across the loop too, although the source lives until the module exit anyway.
    ComPtr<IDropSource> dropSource = HoldReference<IDropSource>(getInterface());
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT hr = ::DoDragDrop(dataObject.get(), dropSource.get(), DROPEFFECT_COPY, &effect);
    return SUCCEEDED(hr);
  } catch (...) {
    return false;
  }
}

HRESULT DragSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) noexcept {
  if (escapePressed) return DRAGDROP_S_CANCEL;
  return (keyState & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
}

HRESULT DragSource::GiveFeedback(DWORD) noexcept { return DRAGDROP_S_USEDEFAULTCURSORS; }

void SetUpDragSource() noexcept {
  if (dragSourceObject) return;
  dragSourceObject.reset(new (std::nothrow) DragSource());
  if (dragSourceObject) dragSourceObject->KeepUntilModuleExit();
}

void DestroyDragSource() noexcept {
  dragSourceObject.reset();
  formatStore.Clear();
}

void OnPictureBoxLeftButtonDown() noexcept {
  try {
    if (currentIconPath.empty() || !dragSourceObject) return;
    dragSourceObject->StartDrag(CF_HDROP, TextToBytes(currentIconPath), UniqueBitmap(), SIZE{0, 0}, POINT{0, 0});
  } catch (...) {
  }
}
