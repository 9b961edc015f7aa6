#pragma once
// Files for the third-party tests: the test's own directory, the generated archives, temp folders.
#include <cstdint>
#include <string>
#include <vector>

using FileBytes = std::vector<std::uint8_t>;

// The directory of this test executable, where uz.exe and zlibwapi.dll are built too.
std::wstring ExeDirectory();
// A file made by make_test_archives.py.
std::wstring DataPath(const std::wstring& name);

FileBytes ReadFileBytes(const std::wstring& path);  // empty when it cannot be read
bool WriteFileBytes(const std::wstring& path, const FileBytes& bytes);
bool FileExists(const std::wstring& path);
// Every file below `root`, as paths relative to it, sorted.
std::vector<std::wstring> ListFiles(const std::wstring& root);

// A fresh folder under the temp directory, removed with its content at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  [[nodiscard]] const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};
