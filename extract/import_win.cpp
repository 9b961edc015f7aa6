#include <string>

#include "app/main_window.h"
#include "extract/backends.h"
#include "extract/command_line_path_win.h"
#include "extract/icon_lookup.h"
#include "extract/import.h"
#include "regex/regexp_wrapper.h"
#include "util/codepage.h"
#include "util/console_runner.h"
#include "util/windows_prelude.h"

namespace {

// "APK文件(*.apk)|*.apk" in code page 936.
constexpr char kApkFilter[] = "APK\xCE\xC4\xBC\xFE(*.apk)|*.apk";

void SetCurrentDirectoryToRunDirectory() {
  const std::u16string runDirectory = TextToUtf16(RunDirectory());
  ::SetCurrentDirectoryW(reinterpret_cast<const wchar_t*>(runDirectory.c_str()));
}

}  // namespace

void OnImportClicked() {
  Text fileName;
  if (!ShowFileDialog(FileDialogKind::Open, kApkFilter, fileName)) return;
  // The confirmed path is imported as it is: rewriting it to end in ".apk" would break
  // D:\x.apk\a.apk and a.APK.
  ImportApk(fileName);
}

void ImportApk(const Text& apkPath) {
  try {
    // The built-in engine: the badging text comes from the package (its label, its paths), and the
    // system's backtracking engine takes cubic time on a crafted line, which would hang the window.
    RegExpWrapper lookup(RegExpEngineKind::BuiltIn);
    const Text quotedPath = "\"" + apkPath + "\"";
    // The dialog may have moved the current directory; the tools and "icon" live in the run directory.
    SetCurrentDirectoryToRunDirectory();
    const CommandLinePackagePath badgingPath(PackageReader::BadgingTool, quotedPath);
    const Text output = RunConsoleCommand("pt dump badging " + badgingPath.quoted());
    const Text badging = Utf8ToConsoleText(TextToBytes(output));
    const Text entryPath = LookUpIconEntry(lookup, badging);
    if (entryPath.empty()) return;  // no icon named: the picture stays as it was
    const Bytes picture =
        Mode1Checked() == 1 ? ExtractWithUnzip(quotedPath, entryPath) : ExtractInMemory(apkPath, entryPath);
    SetPictureBytes(picture);
  } catch (...) {
    // Out of memory on a hostile package: the import ends and the window goes on.
  }
}

void OnFileDropped(const char* path) { ImportApk(path ? Text(path) : Text()); }
