// Showing files in Explorer through the real shell; the Explorer processes the shell starts for
// this test are ended by it.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/module_state.h"
#include "picture/actions.h"
#include "picture/locate_win.h"
#include "tests/picture/picture_test_support_win.h"
#include "util/wide_win.h"
#include <tlhelp32.h>
#include <winternl.h>

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

// A process's command line, read from its process parameters, or empty.
std::wstring CommandLineOf(HANDLE process) {
  using Query = LONG(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (!query || query(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) < 0) return {};
  PEB peb{};
  RTL_USER_PROCESS_PARAMETERS parameters{};
  if (!::ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof(peb), nullptr) ||
      !::ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof(parameters), nullptr)) {
    return {};
  }
  std::wstring line(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
  if (!::ReadProcessMemory(process, parameters.CommandLine.Buffer, line.data(), parameters.CommandLine.Length,
                           nullptr)) {
    return {};
  }
  return line;
}

// Ends the Explorer processes that this process started since `before`; never the desktop's, which
// the system starts. Returns the command lines they were started with.
std::vector<std::wstring> EndNewExplorers(const std::set<DWORD>& before) {
  std::vector<std::wstring> ended;
  for (int wait = 0; wait < 100; ++wait) {  // the shell may start it a moment after returning
    for (const DWORD id : ExplorerProcesses(::GetCurrentProcessId())) {
      if (before.count(id)) continue;
      const DWORD access = PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
      if (const HANDLE process = ::OpenProcess(access, FALSE, id)) {
        ended.push_back(CommandLineOf(process));
        ::TerminateProcess(process, 0);
        ::WaitForSingleObject(process, 5000);
        ::CloseHandle(process);
      }
    }
    if (!ended.empty()) break;
    ::Sleep(100);
  }
  return ended;
}

// True when `commandLine` contains `file`, letters compared without regard to case.
bool Names(const std::wstring& commandLine, const std::wstring& file) {
  std::wstring line = commandLine;
  std::wstring name = file;
  ::CharUpperBuffW(line.data(), static_cast<DWORD>(line.size()));
  ::CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
  return line.find(name) != std::wstring::npos;
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
  // A folder and a name with spaces and Chinese characters: the shell must be given the same item.
  const std::wstring root = FreshFolder(L"locate \u5B9A\u4F4D");
  const std::wstring file = root + L"\\\u56FE\u6807 icon.png";
  ASSERT_TRUE(WriteWhole(file, {'x'}));
  // Wine's shell refuses some requests (the first of a process among them); each success it
  // reports must have started an Explorer for that file, and one of a few requests must succeed.
  int successes = 0;
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (!ShowInExplorer(FromWide(file), false)) continue;
    ++successes;
    const std::vector<std::wstring> started = EndNewExplorers(before_);
    ASSERT_EQ(started.size(), 1u) << "attempt " << attempt;
    // Wine's shell opens the item's folder (Windows also selects the item in it): the Explorer it
    // starts must name that folder.
    EXPECT_TRUE(Names(started[0], L"\"" + root + L"\"")) << "attempt " << attempt << ": " << FromWide(started[0]);
  }
  EXPECT_GE(successes, 1);
  currentIconPath = FromWide(file);
  OnLocateClicked();
  currentIconPath.clear();
  (void)EndNewExplorers(before_);
}

}  // namespace
