// uz.exe run the way the program runs it: through cmd.exe /c in a run folder, input from NUL.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_files_win.h"
#include "util/unique_resource.h"

namespace {

struct RunResult {
  bool finished = false;
  DWORD exitCode = 0;
  std::string output;  // standard output and error, as the console wrote them
};

UniqueFileHandle OpenInheritable(const std::wstring& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return UniqueFileHandle(::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                        disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::wstring SystemCmd() {
  wchar_t system[MAX_PATH];
  const UINT cch = ::GetSystemDirectoryW(system, MAX_PATH);
  return std::wstring(system, cch) + L"\\cmd.exe";
}

// Runs "cmd.exe /c <command>" in `folder` with the given standard input (NUL when none); the whole
// process tree is ended if it has not finished after `timeoutMs`.
RunResult RunCommand(const std::wstring& folder, const std::wstring& scratch, const std::wstring& command,
                     HANDLE input = nullptr, DWORD timeoutMs = 60000) {
  RunResult result;
  const std::wstring logPath = scratch + L"\\output.txt";
  UniqueFileHandle nul = OpenInheritable(L"NUL", GENERIC_READ, OPEN_EXISTING);
  UniqueFileHandle log = OpenInheritable(logPath, GENERIC_WRITE, CREATE_ALWAYS);
  if (!nul || !log) return result;

  UniqueHandle job(::CreateJobObjectW(nullptr, nullptr));
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  ::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input ? input : nul.get();
  startup.hStdOutput = log.get();
  startup.hStdError = log.get();
  std::wstring line = SystemCmd() + L" /c " + command;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr,
                        folder.c_str(), &startup, &info)) {
    return result;
  }
  UniqueHandle process(info.hProcess);
  UniqueHandle thread(info.hThread);
  ::AssignProcessToJobObject(job.get(), process.get());
  ::ResumeThread(thread.get());
  result.finished = ::WaitForSingleObject(process.get(), timeoutMs) == WAIT_OBJECT_0;
  if (!result.finished) ::TerminateJobObject(job.get(), 1);
  ::GetExitCodeProcess(process.get(), &result.exitCode);
  log.reset();
  const FileBytes text = ReadFileBytes(logPath);
  result.output.assign(text.begin(), text.end());
  return result;
}

FileBytes Bytes(const std::string& text) { return FileBytes(text.begin(), text.end()); }

constexpr const wchar_t* kCommand = L"uz  -j \"x.apk\" res/mipmap-mdpi/ic_launcher.png  -d  icon";
constexpr const char* kPrompt = "replace icon/ic_launcher.png? [y]es, [n]o, [A]ll, [N]one, [r]ename:";

// A run folder holding uz.exe and an archive copied in as x.apk.
class UzTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(::CopyFileW((ExeDirectory() + L"\\uz.exe").c_str(), Path(L"uz.exe").c_str(), FALSE));
  }

  std::wstring Path(const std::wstring& name) const { return run_.path() + L"\\" + name; }
  void AddArchive(const std::wstring& data, const std::wstring& as = L"x.apk") const {
    ASSERT_TRUE(::CopyFileW(DataPath(data).c_str(), Path(as).c_str(), FALSE));
  }
  void PutOldIcon() const {
    ASSERT_TRUE(::CreateDirectoryW(Path(L"icon").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(Path(L"icon\\ic_launcher.png"), Bytes("old icon")));
  }
  RunResult Run(const std::wstring& command, HANDLE input = nullptr, DWORD timeoutMs = 60000) const {
    return RunCommand(run_.path(), scratch_.path(), command, input, timeoutMs);
  }

  TempFolder run_;
  TempFolder scratch_;
};

TEST_F(UzTest, ExtractsJustTheNamedEntryIntoIcon) {
  AddArchive(L"icon.apk");
  const RunResult r = Run(kCommand);
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_EQ(ListFiles(Path(L"icon")), std::vector<std::wstring>{L"ic_launcher.png"});
  EXPECT_EQ(ReadFileBytes(Path(L"icon\\ic_launcher.png")), ReadFileBytes(DataPath(L"icon-expected.png")));
}

// UnZip asks before replacing; input at its end counts as "[N]one": the old file stays, exit code 1.
TEST_F(UzTest, ExistingFileIsKeptWhenInputIsAtItsEnd) {
  AddArchive(L"icon.apk");
  PutOldIcon();
  const RunResult r = Run(kCommand);
  ASSERT_TRUE(r.finished);
  EXPECT_NE(r.output.find(kPrompt), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("(EOF or read error, treating as \"[N]one\" ...)"), std::string::npos) << r.output;
  EXPECT_EQ(r.exitCode, 1u) << r.output;
  EXPECT_EQ(ReadFileBytes(Path(L"icon\\ic_launcher.png")), Bytes("old icon"));
}

// The standard input the program's runner gives UnZip never ends: the prompt then waits forever.
TEST_F(UzTest, PromptWaitsForeverOnAnInputThatNeverEnds) {
  AddArchive(L"icon.apk");
  PutOldIcon();
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  UniqueHandle readEnd, writeEnd;
  ASSERT_TRUE(::CreatePipe(readEnd.put(), writeEnd.put(), &inherit, 0));
  const RunResult r = Run(kCommand, readEnd.get(), 5000);
  EXPECT_FALSE(r.finished) << r.output;
  EXPECT_EQ(ReadFileBytes(Path(L"icon\\ic_launcher.png")), Bytes("old icon"));
}

TEST_F(UzTest, OptionsThatSettleAnExistingFileWithoutAPrompt) {
  AddArchive(L"icon.apk");
  PutOldIcon();
  const FileBytes fresh = ReadFileBytes(DataPath(L"icon-expected.png"));
  const struct {
    const wchar_t* command;
    FileBytes expected;
  } cases[] = {
      {L"uz  -o -j \"x.apk\" res/mipmap-mdpi/ic_launcher.png  -d  icon", fresh},
      {L"uz  -n -j \"x.apk\" res/mipmap-mdpi/ic_launcher.png  -d  icon", Bytes("old icon")},
      // UnZip also takes options from the UNZIP variable, leaving the command line as it is.
      {L"set UNZIP=-o&& uz  -j \"x.apk\" res/mipmap-mdpi/ic_launcher.png  -d  icon", fresh},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(WriteFileBytes(Path(L"icon\\ic_launcher.png"), Bytes("old icon")));
    const RunResult r = Run(c.command);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.output.find("replace "), std::string::npos) << r.output;
    EXPECT_EQ(r.exitCode, 0u) << r.output;
    EXPECT_EQ(ReadFileBytes(Path(L"icon\\ic_launcher.png")), c.expected) << r.output;
  }
}

// UnZip reads its command line in the ANSI code page: on a Chinese Windows (936) such paths work.
TEST_F(UzTest, ApkPathInCodePage936) {
  if (::GetACP() != 936) GTEST_SKIP() << "needs the ANSI code page 936";
  ASSERT_TRUE(::CreateDirectoryW(Path(L"安装包").c_str(), nullptr));
  AddArchive(L"icon.apk", L"安装包\\图标 测试.apk");
  const RunResult r =
      Run(L"uz  -j \"" + Path(L"安装包\\图标 测试.apk") + L"\" res/mipmap-mdpi/ic_launcher.png  -d  icon");
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_EQ(ReadFileBytes(Path(L"icon\\ic_launcher.png")), ReadFileBytes(DataPath(L"icon-expected.png")));
}

TEST_F(UzTest, EntryNamesMeetTheShellAndUnzipPatterns) {
  const struct {
    const wchar_t* entry;  // as written on the command line
    std::vector<std::wstring> files;  // what ends up in icon
    const char* content;  // of the first file
  } cases[] = {
      {L"\"res/a&b.png\"", {L"a&b.png"}, "ampersand"},
      {L"\"res/with space.png\"", {L"with space.png"}, "space"},
      {L"res/a&b.png", {}, ""},         // cmd cuts the line at &
      {L"res/with space.png", {}, ""},  // two names, neither in the archive
      {L"\"res/icon[1].png\"", {L"icon1.png"}, "plain one"},  // [1] is a wildcard set
      {L"root.png", {L"root.png"}, "root entry"},
      {L"../../evil.png", {L"evil.png"}, "climbing"},  // -j keeps it inside icon
  };
  for (const auto& c : cases) {
    TempFolder run;
    ASSERT_TRUE(::CopyFileW((ExeDirectory() + L"\\uz.exe").c_str(), (run.path() + L"\\uz.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW(DataPath(L"names.zip").c_str(), (run.path() + L"\\x.apk").c_str(), FALSE));
    const std::wstring command = std::wstring(L"uz  -j \"x.apk\" ") + c.entry + L"  -d  icon";
    const RunResult r = RunCommand(run.path(), scratch_.path(), command);
    ASSERT_TRUE(r.finished);
    std::vector<std::wstring> expected{L"uz.exe", L"x.apk"};
    for (const auto& file : c.files) expected.push_back(L"icon\\" + file);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ListFiles(run.path()), expected) << r.output;
    if (!c.files.empty()) {
      EXPECT_EQ(r.exitCode, 0u) << r.output;
      EXPECT_EQ(ReadFileBytes(run.path() + L"\\icon\\" + c.files[0]), Bytes(c.content));
    } else {
      EXPECT_NE(r.exitCode, 0u) << r.output;
    }
  }
}

}  // namespace
