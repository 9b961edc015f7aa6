#include "extract/command_line_path_win.h"

#include <vector>

#include "app/main_window.h"
#include "util/wide_win.h"
#include "util/windows_prelude.h"

namespace {

std::wstring ShortPath(const std::wstring& path) {
  const DWORD needed = ::GetShortPathNameW(path.c_str(), nullptr, 0);
  if (needed == 0) return {};
  std::vector<wchar_t> buffer(needed + 1, L'\0');
  const DWORD written = ::GetShortPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (written == 0 || written >= buffer.size()) return {};
  return {buffer.data(), written};
}

Text Quoted(const Text& text) {
  Text quoted;
  quoted.reserve(text.size() + 2);
  quoted.push_back('"');
  quoted.append(text);
  quoted.push_back('"');
  return quoted;
}

// The stand-ins' names in the run directory, one a reader; UnZip writes only into "icon", so
// nothing it extracts can meet them.
const wchar_t* StandInName(PackageReader reader) {
  return reader == PackageReader::UnZip ? L"unzip-source.apk.tmp" : L"badging-source.apk.tmp";
}

}  // namespace

bool CommandReadsPathIntact(PackageReader reader, const std::wstring& path) {
  if (path.empty() || path.find(L'%') != std::wstring::npos) return false;
  if (reader == PackageReader::BadgingTool) return true;
  if (path.find_first_of(L"[]*?") != std::wstring::npos) return false;
  BOOL lossy = FALSE;
  const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), static_cast<int>(path.size()),
                                         nullptr, 0, nullptr, &lossy);
  return size > 0 && !lossy;
}

CommandLinePackagePath::CommandLinePackagePath(PackageReader reader, const Text& quotedApkPath, StandIns standIns)
    : quoted_(quotedApkPath) {
  if (quoted_.size() < 2 || quoted_.front() != '"' || quoted_.back() != '"') return;
  const std::wstring path = ToWide(quoted_.substr(1, quoted_.size() - 2));
  if (path.empty() || CommandReadsPathIntact(reader, path)) return;

  if (standIns == StandIns::ShortPathFirst) {
    const std::wstring shortPath = ShortPath(path);
    if (!shortPath.empty() && CommandReadsPathIntact(reader, shortPath)) {
      quoted_ = Quoted(FromWide(shortPath));
      return;
    }
  }
  // No usable short name (8.3 names may be switched off, and may keep a '%'): the same file under a
  // plain name. The run directory is the current directory when the commands run, so the relative
  // name always reads back.
  // A link costs nothing but shares the source's attributes, so a read-only source is copied.
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  const std::wstring standIn = ToWide(RunDirectory()) + L"\\" + StandInName(reader);
  ::DeleteFileW(standIn.c_str());  // left by a run that ended early
  const bool linked =
      !(attributes & FILE_ATTRIBUTE_READONLY) && ::CreateHardLinkW(standIn.c_str(), path.c_str(), nullptr);
  if (!linked) {
    // Otherwise the command gets the original, finds nothing and the import shows no icon.
    if (!::CopyFileW(path.c_str(), standIn.c_str(), FALSE)) return;
    ::SetFileAttributesW(standIn.c_str(), FILE_ATTRIBUTE_NORMAL);  // the copy's own flag, so it can go
  }
  standIn_ = standIn;
  quoted_ = Quoted(FromWide(StandInName(reader)));
}

CommandLinePackagePath::~CommandLinePackagePath() {
  if (standIn_.empty()) return;
  ::DeleteFileW(standIn_.c_str());
}
