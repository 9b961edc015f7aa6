// Mode 2 without a usable zlibwapi.dll: a message naming the library and the function, an empty
// result, and the program goes on. Each case runs in a copy of this executable placed in a
// directory of its own, so neither the run directory nor the program's folder holds the real DLL.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "extract/backends.h"
#include "tests/extract/test_env_win.h"
#include "tests/extract/zip_builder.h"
#include "util/unique_resource.h"
#include "util/windows_prelude.h"

namespace {

constexpr wchar_t kChildFlag[] = L"FENNLOW_EXTRACT_CHILD";

// A message box titled "Fennlow" shown by this process (other tests may show theirs meanwhile).
BOOL CALLBACK MatchOwnMessageBox(HWND hwnd, LPARAM lParam) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[16] = {};
  wchar_t title[16] = {};
  ::GetClassNameW(hwnd, cls, 16);
  ::GetWindowTextW(hwnd, title, 16);
  if (pid != ::GetCurrentProcessId() || std::wstring(cls) != L"#32770" || std::wstring(title) != L"Fennlow") {
    return TRUE;
  }
  *reinterpret_cast<HWND*>(lParam) = hwnd;
  return FALSE;
}

HWND FindOwnMessageBox() {
  HWND found = nullptr;
  ::EnumWindows(MatchOwnMessageBox, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Closes the first such message box and keeps its text.
class MessageBoxWatcher {
 public:
  MessageBoxWatcher()
      : thread_([this] {
          for (int i = 0; i < 1200 && !stop_; ++i) {
            if (HWND box = FindOwnMessageBox()) {
              wchar_t text[1024] = {};
              ::GetDlgItemTextW(box, 0xFFFF, text, 1024);
              message_ = text;
              ::PostMessageW(box, WM_COMMAND, IDOK, 0);
              return;
            }
            ::Sleep(25);
          }
        }) {}
  ~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
  }
  std::wstring Wait() {
    thread_.join();
    thread_ = std::thread([] {});
    return message_;
  }

 private:
  std::atomic<bool> stop_{false};
  std::wstring message_;
  std::thread thread_;
};

bool InChild() {
  wchar_t value[8] = {};
  return ::GetEnvironmentVariableW(kChildFlag, value, 8) > 0;
}

// The child's half: a mode-2 read with whatever zlibwapi.dll its directory holds.
void ExpectMessageAndEmpty(const wchar_t* function) {
  ResetWindow(ToText(BinDirectory()));
  const Bytes zip = BuildStoredZip({{"res/ic.png", AsBytes("icon")}});
  for (int attempt = 0; attempt < 2; ++attempt) {  // reported again, and still no crash
    MessageBoxWatcher watcher;
    EXPECT_TRUE(ReadZipEntry(zip, "res/ic.png").empty());
    const std::wstring message = watcher.Wait();
    EXPECT_NE(message.find(L"zlibwapi.dll"), std::wstring::npos) << ToText(message);
    EXPECT_NE(message.find(function), std::wstring::npos) << ToText(message);
  }
}

TEST(MissingZlibwapiChild, NoDll) {
  if (!InChild()) GTEST_SKIP() << "runs in a copy of the test program";
  ExpectMessageAndEmpty(L"unzOpenBuffer");
}

TEST(MissingZlibwapiChild, DllWithoutTheFunctions) {
  if (!InChild()) GTEST_SKIP() << "runs in a copy of the test program";
  ExpectMessageAndEmpty(L"unzOpenBuffer");
}

// Runs one child test in a copy of this program inside `dir`; its exit code (0: passed).
DWORD RunChild(const std::wstring& dir, const wchar_t* test) {
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring copy = dir + L"\\child.exe";
  if (!::CopyFileW(self, copy.c_str(), FALSE)) return 1000;
  std::wstring command = L"\"" + copy + L"\" --gtest_filter=MissingZlibwapiChild." + test;
  ::SetEnvironmentVariableW(kChildFlag, L"1");
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  const BOOL started =
      ::CreateProcessW(copy.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi);
  ::SetEnvironmentVariableW(kChildFlag, nullptr);
  if (!started) return 1001;
  UniqueHandle process(pi.hProcess);
  UniqueHandle thread(pi.hThread);
  if (::WaitForSingleObject(process.get(), 100000) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.get(), 1002);
    return 1002;
  }
  DWORD code = 1003;
  ::GetExitCodeProcess(process.get(), &code);
  return code;
}

TEST(MissingZlibwapi, NoDllAnywhere) {
  TempRunDirectory dir(std::vector<std::wstring>{});
  EXPECT_EQ(RunChild(dir.path(), L"NoDll"), 0u);
}

TEST(MissingZlibwapi, DllWithoutTheFunctions) {
  TempRunDirectory dir(std::vector<std::wstring>{});
  wchar_t system[MAX_PATH] = {};
  ::GetSystemDirectoryW(system, MAX_PATH);
  ASSERT_TRUE(::CopyFileW((std::wstring(system) + L"\\version.dll").c_str(), (dir.path() + L"\\zlibwapi.dll").c_str(),
                          FALSE));
  EXPECT_EQ(RunChild(dir.path(), L"DllWithoutTheFunctions"), 0u);
}

}  // namespace
