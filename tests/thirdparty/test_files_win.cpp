#include "test_files_win.h"

#include <algorithm>

#include "util/unique_resource.h"

namespace {

void CloseFind(HANDLE h) noexcept { ::FindClose(h); }
using UniqueFind = UniqueResource<HANDLE, CloseFind>;

UniqueFind FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW& data) {
  HANDLE h = ::FindFirstFileW(pattern.c_str(), &data);
  return UniqueFind(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

bool IsDotEntry(const WIN32_FIND_DATAW& data) {
  const std::wstring name = data.cFileName;
  return name == L"." || name == L"..";
}

void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  if (auto find = FindFirst(path + L"\\*", data)) {
    do {
      if (IsDotEntry(data)) continue;
      const std::wstring child = path + L"\\" + data.cFileName;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(child.c_str());
      }
    } while (::FindNextFileW(find.get(), &data));
  }
  ::RemoveDirectoryW(path.c_str());
}

void CollectFiles(const std::wstring& root, const std::wstring& relative, std::vector<std::wstring>& out) {
  WIN32_FIND_DATAW data;
  const std::wstring folder = relative.empty() ? root : root + L"\\" + relative;
  if (auto find = FindFirst(folder + L"\\*", data)) {
    do {
      if (IsDotEntry(data)) continue;
      const std::wstring child = relative.empty() ? data.cFileName : relative + L"\\" + data.cFileName;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        CollectFiles(root, child, out);
      } else {
        out.push_back(child);
      }
    } while (::FindNextFileW(find.get(), &data));
  }
}

}  // namespace

std::wstring ExeDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD cch = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (cch < path.size()) {
      path.resize(cch);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring DataPath(const std::wstring& name) { return ExeDirectory() + L"\\..\\thirdparty-data\\" + name; }

FileBytes ReadFileBytes(const std::wstring& path) {
  // Shared for writing too: a finished child's console host may still hold an inherited log handle.
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  UniqueFileHandle file(
      ::CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.get(), &size)) return {};
  FileBytes bytes(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() && (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                         read != bytes.size())) {
    return {};
  }
  return bytes;
}

bool WriteFileBytes(const std::wstring& path, const FileBytes& bytes) {
  UniqueFileHandle file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::wstring> ListFiles(const std::wstring& root) {
  std::vector<std::wstring> files;
  CollectFiles(root, L"", files);
  std::sort(files.begin(), files.end());
  return files;
}

TempFolder::TempFolder() {
  wchar_t temp[MAX_PATH + 1];
  ::GetTempPathW(MAX_PATH + 1, temp);
  static unsigned serial = 0;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    path_ = std::wstring(temp) + L"fennlow-tp-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(++serial);
    if (::CreateDirectoryW(path_.c_str(), nullptr)) break;
  }
}

TempFolder::~TempFolder() { RemoveTree(path_); }
