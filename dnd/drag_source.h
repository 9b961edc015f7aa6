#pragma once
// The picture box's file drag: an OLE drop source and the data object it hands to DoDragDrop.
#include "dnd/com_object.h"
#include "dnd/format_store.h"
#include "util/com_ptr.h"
#include "util/text.h"
#include "util/unique_resource.h"
#include "util/windows_prelude.h"
#include <objidl.h>
#include <oleidl.h>
#include <shobjidl.h>

// Serves the entries of formatStore that it owns. Created with count 0; the Release that brings the
// count back to 0 destroys it and drops its entries.
class DragDataObject final : public ComObject<IDataObject> {
 public:
  DragDataObject() noexcept;

  // A new data object's interface pointer with count 0, or null when out of memory.
  [[nodiscard]] IDataObject* createInstance() const noexcept;

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) noexcept override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) noexcept override;
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) noexcept override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* formatIn, FORMATETC* formatOut) noexcept override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) noexcept override;
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) noexcept override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD advf, IAdviseSink* sink,
                                    DWORD* connection) noexcept override;
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) noexcept override;
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** enumerator) noexcept override;

 private:
  ~DragDataObject() override;
};

// The global block StartDrag offers for `format` (CF_HDROP, CF_TEXT or CF_UNICODETEXT), or an empty
// medium on failure. CF_HDROP: `data` is one path in code page 936, offered as a one-name UTF-16 list
// (fWide 1) so that it reaches any receiver intact. The text formats: `data` exactly, then two zero bytes.
[[nodiscard]] StoredMedium MakeDragMedium(UINT format, const Bytes& data);

class DragSource final : public ComObject<IDropSource> {
 public:
  // Sets up the source and its data-object template and creates the system drag-image helper.
  DragSource() noexcept;

  // Runs a whole modal copy-only drag of `data` in `format` (see MakeDragMedium); returns when it
  // has ended. False, with nothing stored, for another format or when the data cannot be prepared.
  // `dragBitmap` (may be empty) gives the drag a picture; the helper owns it once it took it.
  bool StartDrag(UINT format, const Bytes& data, UniqueBitmap dragBitmap, SIZE imageSize,
                 POINT imageOffset) noexcept;

  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) noexcept override;
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) noexcept override;

  [[nodiscard]] DragDataObject& dataObjectTemplate() noexcept { return *dataObjectTemplate_; }
  [[nodiscard]] IDragSourceHelper* dragHelper() const noexcept { return dragHelper_.get(); }

 private:
  ~DragSource() override;

  ComScope comScope_;  // first in, last out: the helper below is released while COM is still up
  GlobalComObject<DragDataObject> dataObjectTemplate_;
  ComPtr<IDragSourceHelper> dragHelper_;
};

// The program's one drag source, alive from start-up to the module exit.
inline GlobalComObject<DragSource> dragSourceObject;

// Start-up (after OLE is initialised, before the main window exists): creates dragSourceObject.
void SetUpDragSource() noexcept;
// Module exit (before OLE is uninitialised): destroys dragSourceObject, then empties formatStore.
void DestroyDragSource() noexcept;

// The picture box's left-button press: drags currentIconPath out as a file; nothing when it is empty.
void OnPictureBoxLeftButtonDown() noexcept;
