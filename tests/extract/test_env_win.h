#pragma once
// A throw-away run directory with the real tools, and the app-side operations the import calls.
#include <string>
#include <vector>

#include "util/text.h"

// Stands in for the main window: what the import reads from it and what it shows in it.
struct TestWindow {
  Text runDirectory;
  int mode1Checked = 1;
  std::vector<Bytes> shown;  // every SetPictureBytes, in order
  bool dialogConfirms = true;
  Text dialogPath;
  Text dialogFilter;  // the filter of the last ShowFileDialog
  int dialogKind = -1;
};
TestWindow& Window();
// A fresh window over `runDirectory`, mode 1 checked.
void ResetWindow(const Text& runDirectory);

// Paths in the form Windows programs use; all Text in code page 936 (ASCII here).
std::wstring ToWide(const Text& text);
Text ToText(const std::wstring& wide);

// The directory holding this test executable, pt.exe, uz.exe and zlibwapi.dll.
std::wstring BinDirectory();
// Built fixture packages and the entry bytes read from them with Python's zipfile.
std::wstring FixtureDirectory();
std::wstring ExpectedDirectory();

// A fresh directory under the temp folder holding copies of `tools`; removed with its content.
class TempRunDirectory {
 public:
  explicit TempRunDirectory(const std::vector<std::wstring>& tools = {L"pt.exe", L"uz.exe", L"zlibwapi.dll"});
  ~TempRunDirectory();
  TempRunDirectory(const TempRunDirectory&) = delete;
  TempRunDirectory& operator=(const TempRunDirectory&) = delete;
  [[nodiscard]] const std::wstring& path() const { return path_; }
  [[nodiscard]] Text text() const { return ToText(path_); }
  // Copies a fixture package into the directory; returns its full path.
  [[nodiscard]] std::wstring AddFixture(const std::wstring& file, const std::wstring& as = L"") const;
  [[nodiscard]] std::wstring AddFile(const std::wstring& name, const Bytes& content) const;

 private:
  std::wstring path_;
};

bool FileExists(const std::wstring& path);
Bytes ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const Bytes& bytes);
// Every file and directory below `root`, as paths relative to it.
std::vector<std::wstring> ListTree(const std::wstring& root);
// The entry bytes Python's zipfile read from a fixture (empty when it wrote none).
Bytes ExpectedEntry(const std::wstring& fixtureName);
