// Showing files in Explorer through the real shell; the Explorer processes the shell starts for
// this test are ended by it.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/module_state.h"
#include "picture/actions.h"
#include "picture/locate_win.h"
#include "tests/picture/picture_test_support_win.h"
#include "util/wide_win.h"
#include <tlhelp32.h>

namespace {

// Explorer processes; with `parent`, only those that process started.
std::set<DWORD> ExplorerProcesses(DWORD parent = 0) {
  std::set<DWORD> ids;
  const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
    if (_wcsicmp(entry.szExeFile, L"explorer.exe") == 0 && (parent == 0 || entry.th32ParentProcessID == parent)) {
      ids.insert(entry.th32ProcessID);
    }
  }
  ::CloseHandle(snapshot);
  return ids;
}

// Ends the Explorer processes that this process started since `before`; never the desktop's, which
// the system starts.
int EndNewExplorers(const std::set<DWORD>& before) {
  int ended = 0;
  for (int wait = 0; wait < 100; ++wait) {  // the shell may start it a moment after returning
    for (const DWORD id : ExplorerProcesses(::GetCurrentProcessId())) {
      if (before.count(id)) continue;
      if (const HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
        ::TerminateProcess(process, 0);
        ::WaitForSingleObject(process, 5000);
        ::CloseHandle(process);
        ++ended;
      }
    }
    if (ended) break;
    ::Sleep(100);
  }
  return ended;
}

class Locate : public ::testing::Test {
 protected:
  void SetUp() override {
    ::GetDesktopWindow();  // the desktop's Explorer runs before the snapshot
    before_ = ExplorerProcesses(::GetCurrentProcessId());
  }
  std::set<DWORD> before_;
};

TEST_F(Locate, NothingToShowGivesFalseAndStartsNothing) {
  EXPECT_FALSE(ShowInExplorer("", false));
  const std::wstring root = FreshFolder(L"locate-gone");
  const std::wstring file = root + L"\\icon.png";
  ASSERT_TRUE(WriteWhole(file, {'x'}));
  ASSERT_TRUE(::DeleteFileW(file.c_str()));
  EXPECT_FALSE(ShowInExplorer(FromWide(file), false));
  currentIconPath.clear();
  OnLocateClicked();
  currentIconPath = FromWide(file);
  OnLocateClicked();
  currentIconPath.clear();
  ::Sleep(500);
  EXPECT_EQ(ExplorerProcesses(::GetCurrentProcessId()), before_);
}

TEST_F(Locate, ExistingFileIsShown) {
  const std::wstring root = FreshFolder(L"locate-here");
  const std::wstring file = root + L"\\icon.png";
  ASSERT_TRUE(WriteWhole(file, {'x'}));
  // Wine's shell refuses some requests (the first of a process among them); each success it
  // reports must have opened an Explorer window, and one of a few requests must succeed.
  int successes = 0;
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (!ShowInExplorer(FromWide(file), false)) continue;
    ++successes;
    EXPECT_GE(EndNewExplorers(before_), 1) << "attempt " << attempt;
  }
  EXPECT_GE(successes, 1);
  currentIconPath = FromWide(file);
  OnLocateClicked();
  currentIconPath.clear();
  EndNewExplorers(before_);
}

}  // namespace
