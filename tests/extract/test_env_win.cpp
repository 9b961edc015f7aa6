#include "tests/extract/test_env_win.h"

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <functional>

#include "app/main_window.h"
#include "tests/app/test_support_win.h"
#include "util/codepage.h"
#include "util/module_state.h"
#include "util/unique_resource.h"
#include "util/windows_prelude.h"

TestWindow& Window() {
  static TestWindow window;
  return window;
}

void ResetWindow(const Text& runDirectory) {
  // Start-up reads the real version; anything from 5.1 on makes the runner use cmd.exe.
  osVersionWord = 0x0601;
  Window() = TestWindow();
  Window().runDirectory = runDirectory;
}

Text RunDirectory() { return Window().runDirectory; }
int Mode1Checked() { return Window().mode1Checked; }
void SetPictureBytes(const Bytes& bytes) { Window().shown.push_back(bytes); }
const Bytes& PictureBytes() {
  static const Bytes none;
  return Window().shown.empty() ? none : Window().shown.back();
}
bool ShowFileDialog(FileDialogKind kind, const Text& filter, Text& fileName) {
  Window().dialogKind = static_cast<int>(kind);
  Window().dialogFilter = filter;
  if (!Window().dialogConfirms) return false;
  fileName = Window().dialogPath;
  return true;
}

std::wstring ToWide(const Text& text) {
  const std::u16string wide = TextToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

Text ToText(const std::wstring& wide) { return Utf16ToText(std::u16string(wide.begin(), wide.end())); }

std::wstring BinDirectory() {
  std::wstring path(32768, L'\0');
  path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring FixtureDirectory() { return BinDirectory() + L"\\..\\fixtures"; }
std::wstring ExpectedDirectory() { return BinDirectory() + L"\\..\\extract-expected"; }

namespace {

bool ProcessAlive(DWORD pid) {
  UniqueHandle process(::OpenProcess(SYNCHRONIZE, FALSE, pid));
  return process && ::WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

// A loaded zlibwapi.dll cannot be deleted, so each run directory that loaded it stays behind until
// its process has ended; the next test process removes those.
void SweepEndedRunDirectories(const std::wstring& temp) {
  WIN32_FIND_DATAW data{};
  HANDLE find = ::FindFirstFileW((temp + L"fennlow-extract-*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const DWORD pid = static_cast<DWORD>(std::wcstoul(data.cFileName + 16, nullptr, 10));
    if (pid != ::GetCurrentProcessId() && !ProcessAlive(pid)) RemoveTree(temp + data.cFileName);
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
}
}  // namespace

TempRunDirectory::TempRunDirectory(const std::vector<std::wstring>& tools) {
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH + 1] = {};
  ::GetTempPathW(MAX_PATH, temp);
  static const bool swept = (SweepEndedRunDirectories(temp), true);
  (void)swept;
  path_ = std::wstring(temp) + L"fennlow-extract-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  ::CreateDirectoryW(path_.c_str(), nullptr);
  for (const std::wstring& tool : tools) {
    ::CopyFileW((BinDirectory() + L"\\" + tool).c_str(), (path_ + L"\\" + tool).c_str(), FALSE);
  }
}

namespace {

void Walk(const std::wstring& root, const std::wstring& relative, std::vector<std::wstring>& out) {
  WIN32_FIND_DATAW data{};
  HANDLE find = ::FindFirstFileW((root + relative + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    out.push_back(relative.empty() ? name : relative.substr(1) + L"\\" + name);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Walk(root, relative + L"\\" + name, out);
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
}

}  // namespace

TempRunDirectory::~TempRunDirectory() {
  // The tests leave the current directory in here, as an import does.
  ::SetCurrentDirectoryW(BinDirectory().c_str());
  RemoveTree(path_);
}

std::wstring TempRunDirectory::AddFixture(const std::wstring& file, const std::wstring& as) const {
  const std::wstring target = path_ + L"\\" + (as.empty() ? file : as);
  ::CopyFileW((FixtureDirectory() + L"\\" + file).c_str(), target.c_str(), FALSE);
  return target;
}

std::wstring TempRunDirectory::AddFile(const std::wstring& name, const Bytes& content) const {
  const std::wstring target = path_ + L"\\" + name;
  WriteFileBytes(target, content);
  return target;
}

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

Bytes ReadFileBytes(const std::wstring& path) {
  UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  LARGE_INTEGER size{};
  ::GetFileSizeEx(file.get(), &size);
  Bytes bytes(static_cast<std::size_t>(size.QuadPart));
  DWORD got = 0;
  if (!bytes.empty() && !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) return {};
  bytes.resize(got);
  return bytes;
}

bool WriteFileBytes(const std::wstring& path, const Bytes& bytes) {
  UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return bytes.empty() ||
         (::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
          written == bytes.size());
}

std::vector<std::wstring> ListTree(const std::wstring& root) {
  std::vector<std::wstring> out;
  Walk(root, L"", out);
  std::sort(out.begin(), out.end());
  return out;
}

Bytes ExpectedEntry(const std::wstring& fixtureName) {
  return ReadFileBytes(ExpectedDirectory() + L"\\" + fixtureName + L".bin");
}
