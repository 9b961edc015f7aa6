#include "picture/actions.h"

#include "app/main_window.h"
#include "app/module_state.h"
#include "picture/clipboard_win.h"
#include "picture/locate_win.h"
#include "picture/save_name.h"
#include "picture/save_win.h"

namespace {

// "图片文件(*.png)|*.png" in code page 936.
constexpr char kPngFilter[] = "\xCD\xBC\xC6\xAC\xCE\xC4\xBC\xFE(*.png)|*.png";

}  // namespace

void OnCopyClicked() { CopyPictureToClipboard(PictureBytes()); }

void OnSaveClicked() {
  try {
    // Nothing to save: no dialog, and no file truncated to nothing.
    if (PictureBytes().empty()) return;
    Text fileName;
    if (!ShowFileDialog(FileDialogKind::Save, kPngFilter, fileName)) return;
    (void)SavePictureTo(SaveNameFor(fileName), PictureBytes());
  } catch (...) {
    // Out of memory: the button has no effect.
  }
}

void OnLocateClicked() { (void)ShowInExplorer(currentIconPath, false); }
