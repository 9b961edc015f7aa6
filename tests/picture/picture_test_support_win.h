#pragma once
// Files, folders and pictures for the picture-action tests.
#include <string>

#include "picture/image.h"
#include "util/text.h"
#include "util/windows_prelude.h"

inline std::wstring TestExeDirectory() {
  wchar_t exe[MAX_PATH * 4] = {};
  ::GetModuleFileNameW(nullptr, exe, MAX_PATH * 4);
  const std::wstring path = exe;
  return path.substr(0, path.find_last_of(L'\\'));
}

inline Bytes ReadWhole(const std::wstring& path) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  Bytes bytes(::GetFileSize(file, nullptr));
  DWORD read = 0;
  ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  ::CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

inline bool WriteWhole(const std::wstring& path, const Bytes& bytes) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  return ok && written == bytes.size();
}

inline bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline Bytes TestImage(const std::wstring& name) { return ReadWhole(TestExeDirectory() + L"\\app_test_images\\" + name); }

// Wine reuses process ids: the start time keeps each run's folders apart.
inline DWORD StartTick() {
  static const DWORD tick = ::GetTickCount();
  return tick;
}

// A new empty folder under the temporary folder, named for the test.
inline std::wstring FreshFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring base = std::wstring(temp) + L"fennlow-picture-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(StartTick());
  ::CreateDirectoryW(base.c_str(), nullptr);
  const std::wstring folder = base + L"\\" + name;
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

// The names in a folder (no "." and ".."), sorted as the system lists them.
inline std::wstring Listing(const std::wstring& folder) {
  std::wstring names;
  WIN32_FIND_DATAW found{};
  const HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names += name + L";";
  } while (::FindNextFileW(find, &found));
  ::FindClose(find);
  return names;
}
