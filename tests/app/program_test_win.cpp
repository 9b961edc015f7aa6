// The real program: Fennlow.exe started from a fresh run directory, seen from this process.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/form.h"
#include "resources/resource_ids.h"
#include "tests/app/test_support_win.h"

namespace {

std::wstring FennlowExe() { return TestExeDirectory() + L"\\Fennlow.exe"; }

// A built file named by its path on this machine's own file system (Wine's drive Z:).
std::wstring HostPath(const char* path) {
  std::wstring out = L"Z:";
  for (const char* p = path; *p; ++p) out += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
  return out;
}

// The bytes of an RCDATA resource of Fennlow.exe.
Bytes EmbeddedImage(int id) {
  const HMODULE module = ::LoadLibraryExW(FennlowExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return {};
  Bytes bytes;
  if (const HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10))) {
    const auto* data = static_cast<const std::uint8_t*>(::LockResource(::LoadResource(module, info)));
    if (data) bytes.assign(data, data + ::SizeofResource(module, info));
  }
  ::FreeLibrary(module);
  return bytes;
}

struct FindData {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK MatchProgramWindow(HWND hwnd, LPARAM param) {
  auto* d = reinterpret_cast<FindData*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  wchar_t cls[64] = {};
  ::GetClassNameW(hwnd, cls, 64);
  if (owner == d->pid && std::wstring(cls) == L"FennlowMainWindow" && ::IsWindowVisible(hwnd)) {
    d->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND FindProgramWindow(DWORD pid) {
  FindData data{pid, nullptr};
  ::EnumWindows(&MatchProgramWindow, reinterpret_cast<LPARAM>(&data));
  return data.found;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// Fennlow.exe copied into `directory` and started there; ended by the destructor in any case.
class RunningProgram {
 public:
  explicit RunningProgram(const std::wstring& directory) {
    exe_ = directory + L"\\Fennlow.exe";
    if (!::CopyFileW(FennlowExe().c_str(), exe_.c_str(), FALSE)) return;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    std::wstring commandLine = L"\"" + exe_ + L"\"";
    if (!::CreateProcessW(exe_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(), &si,
                          &pi_)) {
      return;
    }
    ::WaitForInputIdle(pi_.hProcess, 20000);
    // Visible means the created event, which writes the tools, has run.
    for (int i = 0; i < 400 && !window_; ++i) {
      window_ = FindProgramWindow(pi_.dwProcessId);
      if (!window_) ::Sleep(50);
    }
  }
  ~RunningProgram() {
    if (pi_.hProcess) {
      if (window_ && ::IsWindow(window_)) ::PostMessageW(window_, WM_CLOSE, 0, 0);
      if (::WaitForSingleObject(pi_.hProcess, 10000) != WAIT_OBJECT_0) ::TerminateProcess(pi_.hProcess, 1);
      ::WaitForSingleObject(pi_.hProcess, 10000);
      ::CloseHandle(pi_.hProcess);
      ::CloseHandle(pi_.hThread);
    }
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  [[nodiscard]] HWND window() const noexcept { return window_; }

  // Closes the window as the user would; the exit code, or -1 when the program did not end.
  long Close() {
    ::PostMessageW(window_, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(pi_.hProcess, 15000) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    ::GetExitCodeProcess(pi_.hProcess, &code);
    return static_cast<long>(code);
  }

 private:
  std::wstring exe_;
  PROCESS_INFORMATION pi_{};
  HWND window_ = nullptr;
};

std::wstring WindowText(HWND hwnd) {
  wchar_t text[256] = {};
  ::GetWindowTextW(hwnd, text, 256);
  return text;
}

std::wstring ClassName(HWND hwnd) {
  wchar_t cls[64] = {};
  ::GetClassNameW(hwnd, cls, 64);
  return cls;
}

// The control's rectangle in its parent's client coordinates.
RECT RectInParent(HWND control) {
  RECT rc{};
  ::GetWindowRect(control, &rc);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

struct ExpectedControl {
  int id;
  const wchar_t* className;
  const wchar_t* caption;
  LONG style;  // BS_* type for buttons
};

TEST(Program, WindowCaptionPlaceAndControls) {
  TempDirectory dir;
  RunningProgram program(dir.path());
  const HWND main = program.window();
  ASSERT_NE(main, nullptr);

  EXPECT_EQ(WindowText(main), L"Fennlow  -by Quaddle Tarvin");
  RECT outer{};
  ::GetWindowRect(main, &outer);
  EXPECT_EQ(outer.left, 50);
  EXPECT_EQ(outer.top, 50);
  EXPECT_EQ(outer.right - outer.left, 418);
  EXPECT_EQ(outer.bottom - outer.top, 248);

  // Expected captions written here independently of the program's code-page-936 literals.
  const ExpectedControl expected[] = {
      {kPictureBox1, L"FennlowPictureBox", L"", -1},
      {kButton1, L"Button", L"导入文件", BS_PUSHBUTTON},
      {kButton2, L"Button", L"复制图片", BS_PUSHBUTTON},
      {kButton4, L"Button", L"定位图片", BS_PUSHBUTTON},
      {kButton3, L"Button", L"保存图片", BS_PUSHBUTTON},
      {kRadio1, L"Button", L"模式1", BS_AUTORADIOBUTTON},
      {kRadio2, L"Button", L"模式2", BS_AUTORADIOBUTTON},
  };
  int children = 0;
  ::EnumChildWindows(main, &CountWindow, reinterpret_cast<LPARAM>(&children));
  EXPECT_EQ(children, 7);

  for (const ExpectedControl& e : expected) {
    SCOPED_TRACE(e.id);
    const HWND control = ::GetDlgItem(main, e.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(ClassName(control), e.className);
    EXPECT_EQ(WindowText(control), e.caption);
    const auto style = ::GetWindowLongW(control, GWL_STYLE);
    EXPECT_TRUE(style & WS_VISIBLE);
    if (e.style >= 0) {
      EXPECT_EQ(style & BS_TYPEMASK, e.style);
    }
    const auto* form = std::find_if(kFormControls.begin(), kFormControls.end(),
                                    [&](const FormControl& c) { return c.id == e.id; });
    const RECT rc = RectInParent(control);
    EXPECT_EQ(rc.left, form->left);
    EXPECT_EQ(rc.top, form->top);
    EXPECT_EQ(rc.right - rc.left, form->width);
    EXPECT_EQ(rc.bottom - rc.top, form->height);
  }
  EXPECT_TRUE(::GetWindowLongW(::GetDlgItem(main, kPictureBox1), GWL_STYLE) & WS_BORDER);
  EXPECT_EQ(::SendMessageW(::GetDlgItem(main, kRadio1), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(::SendMessageW(::GetDlgItem(main, kRadio2), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  // As placed on screen: inside the client area, and no control covers another.
  RECT client{};
  ::GetClientRect(main, &client);
  std::vector<RECT> rects;
  for (const ExpectedControl& e : expected) rects.push_back(RectInParent(::GetDlgItem(main, e.id)));
  for (std::size_t i = 0; i < rects.size(); ++i) {
    EXPECT_LE(rects[i].right, client.right) << i;
    EXPECT_LE(rects[i].bottom, client.bottom) << i;
    for (std::size_t j = i + 1; j < rects.size(); ++j) {
      RECT overlap{};
      EXPECT_FALSE(::IntersectRect(&overlap, &rects[i], &rects[j])) << i << " and " << j;
    }
  }
}

TEST(Program, EmbedsExactlyTheBuiltTools) {
  const Bytes pt = EmbeddedImage(IDR_AAPT_IMAGE);
  const Bytes uz = EmbeddedImage(IDR_UNZIP_IMAGE);
  ASSERT_FALSE(pt.empty());
  ASSERT_FALSE(uz.empty());
  EXPECT_EQ(pt, ReadWholeFile(HostPath(FENNLOW_EMBEDDED_PT_IMAGE)));
  EXPECT_EQ(uz, ReadWholeFile(HostPath(FENNLOW_EMBEDDED_UZ_IMAGE)));
}

void ExpectHiddenWithBytes(const std::wstring& path, const Bytes& bytes) {
  SCOPED_TRACE(std::string(path.begin(), path.end()));
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(attributes & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(ReadWholeFile(path) == bytes);
}

TEST(Program, FreshRunDirectoryGetsHiddenToolsThatStayAfterClosing) {
  TempDirectory dir;
  ASSERT_TRUE(::CreateDirectoryW((dir / L"icon").c_str(), nullptr));
  ASSERT_TRUE(WriteWholeFileForTest(dir / L"icon\\old.png", {1, 2, 3}));
  {
    RunningProgram program(dir.path());
    ASSERT_NE(program.window(), nullptr);
    ExpectHiddenWithBytes(dir / L"pt.exe", EmbeddedImage(IDR_AAPT_IMAGE));
    ExpectHiddenWithBytes(dir / L"uz.exe", EmbeddedImage(IDR_UNZIP_IMAGE));
    EXPECT_EQ(program.Close(), 0);
  }
  ExpectHiddenWithBytes(dir / L"pt.exe", EmbeddedImage(IDR_AAPT_IMAGE));
  ExpectHiddenWithBytes(dir / L"uz.exe", EmbeddedImage(IDR_UNZIP_IMAGE));
  EXPECT_EQ(ReadWholeFile(dir / L"icon\\old.png"), (Bytes{1, 2, 3}));

  // No temporary file is left behind.
  WIN32_FIND_DATAW data;
  const HANDLE find = ::FindFirstFileW((dir / L"*.tmp").c_str(), &data);
  EXPECT_EQ(find, INVALID_HANDLE_VALUE);
  if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
}

FILETIME LastWrite(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

void SetLastWrite(const std::wstring& path, FILETIME time) {
  const HANDLE file = ::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
  ::SetFileTime(file, nullptr, nullptr, &time);
  ::CloseHandle(file);
}

struct ExistingTool {
  const wchar_t* name;
  bool sameBytes;
  DWORD attributes;
};

class ExistingTools : public ::testing::TestWithParam<std::pair<ExistingTool, ExistingTool>> {};

// A copy from an earlier run: replaced when its bytes differ (hidden, read-only or not), kept
// untouched when they are the same.
TEST_P(ExistingTools, StaleReplacedIdenticalKept) {
  TempDirectory dir;
  const FILETIME old{0x2B2D4000u, 0x01BF53EBu};  // 2000-01-01
  const Bytes images[] = {EmbeddedImage(IDR_AAPT_IMAGE), EmbeddedImage(IDR_UNZIP_IMAGE)};
  const ExistingTool tools[] = {GetParam().first, GetParam().second};
  for (int i = 0; i < 2; ++i) {
    const std::wstring path = dir / tools[i].name;
    ASSERT_TRUE(WriteWholeFileForTest(path, tools[i].sameBytes ? images[i] : Bytes{'o', 'l', 'd'}));
    SetLastWrite(path, old);
    ::SetFileAttributesW(path.c_str(), tools[i].attributes);
  }
  RunningProgram program(dir.path());
  ASSERT_NE(program.window(), nullptr);
  for (int i = 0; i < 2; ++i) {
    const std::wstring path = dir / tools[i].name;
    ExpectHiddenWithBytes(path, images[i]);
    const FILETIME now = LastWrite(path);
    const bool untouched = now.dwLowDateTime == old.dwLowDateTime && now.dwHighDateTime == old.dwHighDateTime;
    EXPECT_EQ(untouched, tools[i].sameBytes) << i;
  }
}

std::string ExistingToolsName(const ::testing::TestParamInfo<ExistingTools::ParamType>& info) {
  static const char* const kNames[] = {"StaleHiddenPtSameHiddenUz", "SameHiddenPtStaleReadOnlyUz",
                                       "StalePlainPtSamePlainUz"};
  return kNames[info.index];
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExistingTools,
    ::testing::Values(std::pair{ExistingTool{L"pt.exe", false, FILE_ATTRIBUTE_HIDDEN},
                                ExistingTool{L"uz.exe", true, FILE_ATTRIBUTE_HIDDEN}},
                      std::pair{ExistingTool{L"pt.exe", true, FILE_ATTRIBUTE_HIDDEN},
                                ExistingTool{L"uz.exe", false, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY}},
                      std::pair{ExistingTool{L"pt.exe", false, FILE_ATTRIBUTE_NORMAL},
                                ExistingTool{L"uz.exe", true, FILE_ATTRIBUTE_NORMAL}}),
    ExistingToolsName);

std::wstring VersionString(const std::vector<std::uint8_t>& block, const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring key = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
  if (!::VerQueryValueW(block.data(), key.c_str(), &value, &length) || !value) return L"<missing>";
  return static_cast<const wchar_t*>(value);
}

TEST(Resources, VersionBlock) {
  const std::wstring exe = FennlowExe();
  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<std::uint8_t> block(size);
  ASSERT_TRUE(::GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));

  EXPECT_EQ(VersionString(block, L"Comments"), L"提取的图片支持直接拖动");
  EXPECT_EQ(VersionString(block, L"FileDescription"), L"Fennlow");
  EXPECT_EQ(VersionString(block, L"ProductName"), L"Fennlow");
  EXPECT_EQ(VersionString(block, L"FileVersion"), L"1.0.0.0");
  EXPECT_EQ(VersionString(block, L"ProductVersion"), L"1.0.0.0");

  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
  ASSERT_EQ(length, 4u);
  const auto* translation = static_cast<const WORD*>(value);
  EXPECT_EQ(translation[0], 0x0804);
  EXPECT_EQ(translation[1], 1200);

  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", &value, &length));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
}

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width;
  BYTE height;
  BYTE colorCount;
  BYTE reserved;
  WORD planes;
  WORD bitCount;
  DWORD bytesInRes;
  WORD id;
};
#pragma pack(pop)

TEST(Resources, IconGroupHasNineSizesOf32Bits) {
  const HMODULE module = ::LoadLibraryExW(FennlowExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  const HRSRC group = ::FindResourceW(module, L"DEFAULT_ICON", MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_NE(group, nullptr);
  const auto* dir = static_cast<const WORD*>(::LockResource(::LoadResource(module, group)));
  ASSERT_NE(dir, nullptr);
  ASSERT_EQ(dir[1], 1);  // icons
  ASSERT_EQ(dir[2], 9);
  const auto* entries = reinterpret_cast<const GroupIconEntry*>(dir + 3);
  std::vector<int> sizes;
  for (int i = 0; i < 9; ++i) {
    const GroupIconEntry& e = entries[i];
    const int side = e.width == 0 ? 256 : e.width;
    sizes.push_back(side);
    EXPECT_EQ(e.height, e.width);
    EXPECT_EQ(e.bitCount, 32);
    const HRSRC image = ::FindResourceW(module, MAKEINTRESOURCEW(e.id), MAKEINTRESOURCEW(3));  // RT_ICON
    ASSERT_NE(image, nullptr);
    const auto* data = static_cast<const std::uint8_t*>(::LockResource(::LoadResource(module, image)));
    if (side == 256) {
      EXPECT_EQ(std::memcmp(data, "\x89PNG", 4), 0);
    } else {
      BITMAPINFOHEADER header;
      std::memcpy(&header, data, sizeof(header));
      EXPECT_EQ(header.biWidth, side);
      EXPECT_EQ(header.biHeight, 2 * side);
      EXPECT_EQ(header.biBitCount, 32);
    }
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 64, 72, 96, 128, 256}));

  // The system can make icons of it.
  const HICON icon = static_cast<HICON>(::LoadImageW(module, L"DEFAULT_ICON", IMAGE_ICON, 48, 48, 0));
  EXPECT_NE(icon, nullptr);
  if (icon) ::DestroyIcon(icon);
  ::FreeLibrary(module);
}

TEST(Resources, ManifestAsksForCommonControls6OfThisArchitecture) {
  const HMODULE module = ::LoadLibraryExW(FennlowExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  const HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  ASSERT_NE(info, nullptr);
  const auto* data = static_cast<const char*>(::LockResource(::LoadResource(module, info)));
  const std::string manifest(data, ::SizeofResource(module, info));
  ::FreeLibrary(module);
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
#if defined(_WIN64)
  EXPECT_NE(manifest.find("processorArchitecture=\"amd64\""), std::string::npos);
  EXPECT_EQ(manifest.find("processorArchitecture=\"x86\""), std::string::npos);
#else
  EXPECT_NE(manifest.find("processorArchitecture=\"x86\""), std::string::npos);
#endif
  EXPECT_NE(manifest.find("<dpiAware"), std::string::npos);
}

}  // namespace
