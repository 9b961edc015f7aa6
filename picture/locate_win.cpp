#include "picture/locate_win.h"

#include <string>

#include "util/com_ptr.h"
#include "util/unique_resource.h"
#include "util/wide_win.h"
#include <shlobj.h>
#include <shlwapi.h>

namespace {

void FreeItemList(PIDLIST_ABSOLUTE list) noexcept { ::ILFree(list); }
using UniqueItemList = UniqueResource<PIDLIST_ABSOLUTE, FreeItemList>;

}  // namespace

bool ShowInExplorer(const Text& path, bool startRename) {
  try {
    if (path.empty()) return false;
    const std::wstring wide = ToWide(path);
    if (wide.empty() || !::PathFileExistsW(wide.c_str())) return false;
    const UniqueItemList item(::ILCreateFromPathW(wide.c_str()));
    if (!item) return false;
    const ComScope com;
    // No child items: the shell opens the item's folder and selects the item itself.
    const HRESULT hr = ::SHOpenFolderAndSelectItems(item.get(), 0, nullptr, startRename ? OFASI_EDIT : 0);
    return hr == S_OK;
  } catch (...) {
    return false;
  }
}
