#include <cstring>
#include <vector>

#include "util/console_command_line.h"
#include "util/console_output.h"
#include "util/console_runner.h"
#include "util/module_state.h"
#include "util/unique_resource.h"
#include "util/windows_prelude.h"
#include <shlobj.h>

namespace {

constexpr DWORD kInputIdleTimeoutMs = 1000;
constexpr DWORD kPollIntervalMs = 1;

// The system folder's interpreter with terminator, or empty when it cannot be named safely.
WideText SystemInterpreterPath() {
  wchar_t folder[kInterpreterPathBytes / sizeof(wchar_t)] = {};
  // Without the folder the path would be "\cmd.exe" on the current drive: never run that.
  if (!::SHGetSpecialFolderPathW(nullptr, folder, CSIDL_SYSTEM, FALSE)) return {};
  WideText units(sizeof folder);
  std::memcpy(units.data(), folder, sizeof folder);
  return InterpreterPath(units, osVersionWord);
}

// Attribute list that limits inheritance to the given handles.
class InheritList {
 public:
  InheritList(HANDLE first, HANDLE second) : handles_{first, second} {
    SIZE_T size = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage_.resize(size);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
    if (size == 0 || !::InitializeProcThreadAttributeList(list, 1, 0, &size)) return;
    initialized_ = true;
    if (::UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_, sizeof handles_, nullptr,
                                    nullptr)) {
      list_ = list;
    }
  }
  InheritList(const InheritList&) = delete;
  InheritList& operator=(const InheritList&) = delete;
  ~InheritList() {
    if (initialized_) ::DeleteProcThreadAttributeList(reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data()));
  }
  // Null when the system offers no such list; the child then inherits every inheritable handle.
  [[nodiscard]] LPPROC_THREAD_ATTRIBUTE_LIST get() const noexcept { return list_; }

 private:
  HANDLE handles_[2];
  std::vector<unsigned char> storage_;
  bool initialized_ = false;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

// Reads what the pipe holds now; false when nothing was there.
bool ReadAvailable(HANDLE readEnd, OutputCollector& collector, bool& stop) {
  DWORD available = 0;
  if (!::PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) || available == 0) return false;
  std::vector<std::uint8_t> chunk(available, 0);
  DWORD read = 0;
  if (!::ReadFile(readEnd, chunk.data(), available, &read, nullptr) || read == 0) return false;
  stop = collector.Add(chunk.data(), read);
  return true;
}

}  // namespace

Bytes CaptureConsoleOutput(const WideText& command, const OutputChunkCallback& callback, bool useCallback,
                           bool decodeToWide) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  UniqueHandle readEnd;
  UniqueHandle writeEnd;
  if (!::CreatePipe(readEnd.put(), writeEnd.put(), &inheritable, 0)) return {};
  // The child needs only the write end; the read end stays with the runner.
  ::SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
  // Standard input that ends at once, so a child that asks for input goes on instead of waiting.
  UniqueFileHandle input(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                       OPEN_EXISTING, 0, nullptr));
  if (!input) return {};

  const WideText interpreter = SystemInterpreterPath();
  if (interpreter.empty()) return {};
  WideText commandLine = BuildCommandLine(command);

  InheritList inherit(input.get(), writeEnd.get());
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.StartupInfo.wShowWindow = SW_HIDE;
  startup.StartupInfo.hStdInput = input.get();
  startup.StartupInfo.hStdOutput = writeEnd.get();
  startup.StartupInfo.hStdError = writeEnd.get();
  startup.lpAttributeList = inherit.get();
  const DWORD flags = inherit.get() ? EXTENDED_STARTUPINFO_PRESENT : 0;
  if (!inherit.get()) startup.StartupInfo.cb = sizeof(STARTUPINFOW);

  PROCESS_INFORMATION info{};
  const BOOL started = ::CreateProcessW(reinterpret_cast<const wchar_t*>(interpreter.data()),
                                        reinterpret_cast<wchar_t*>(commandLine.data()), nullptr, nullptr, TRUE,
                                        flags, nullptr, nullptr, &startup.StartupInfo, &info);
  // Only the child may hold the write end now, so the pipe breaks when the child is gone.
  writeEnd.reset();
  input.reset();
  if (!started) return {};
  const UniqueHandle process(info.hProcess);
  UniqueHandle thread(info.hThread);
  thread.reset();
  ::WaitForInputIdle(process.get(), kInputIdleTimeoutMs);

  OutputCollector collector(callback, useCallback, decodeToWide);
  bool stop = false;
  while (!stop) {
    if (!ReadAvailable(readEnd.get(), collector, stop)) {
      // Asking the process object, not its exit code: a child that ends with code 259
      // (STILL_ACTIVE) would otherwise look alive forever.
      if (::WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT) {
        // What it wrote between the last look and its end is still in the pipe. One read takes
        // it all; more would let a grandchild that holds the pipe keep the runner forever.
        ReadAvailable(readEnd.get(), collector, stop);
        break;
      }
    }
    if (!stop) ::Sleep(kPollIntervalMs);
  }
  return collector.Finish();
}
