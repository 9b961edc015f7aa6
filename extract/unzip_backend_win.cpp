#include <string>

#include "app/main_window.h"
#include "app/module_state.h"
#include "extract/backends.h"
#include "extract/file_read_win.h"
#include "extract/unzip_command.h"
#include "extract/command_line_path_win.h"
#include "util/codepage.h"
#include "util/console_runner.h"
#include "util/windows_prelude.h"

namespace {

std::u16string Wide(const Text& text) { return TextToUtf16(text); }
const wchar_t* W(const std::u16string& wide) { return reinterpret_cast<const wchar_t*>(wide.c_str()); }

// An icon left by an earlier import must not pass for this one when the extraction fails. Only a
// plain file directly inside "icon" goes: the name has no separators and no "..".
void RemoveEarlierIcon(const Text& iconPath) {
  const std::u16string path = Wide(iconPath);
  const DWORD attributes = ::GetFileAttributesW(W(path));
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  if (attributes & FILE_ATTRIBUTE_READONLY) ::SetFileAttributesW(W(path), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileW(W(path));
}

}  // namespace

Bytes ExtractWithUnzip(const Text& quotedApkPath, const Text& entryPath) {
  if (!IsSafeUnzipEntry(entryPath)) {
    // A hostile or unusual name never reaches the command line; nothing was extracted.
    currentIconPath.clear();
    return {};
  }
  const Text runDirectory = RunDirectory();
  ::SetCurrentDirectoryW(W(Wide(runDirectory)));
  currentIconPath = runDirectory + "\\icon\\" + IconFileName(entryPath);
  RemoveEarlierIcon(currentIconPath);
  {
    const CommandLinePackagePath source(PackageReader::UnZip, quotedApkPath);
    (void)RunConsoleCommand(UnzipCommand(source.quoted(), entryPath));
  }
  return ReadWholeFile(currentIconPath, kMaxEntryBytes);
}
