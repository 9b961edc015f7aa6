#include "dnd/drop_target.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dnd/hdrop_block.h"
#include "util/codepage.h"
#include "util/module_state.h"
#include "util/unique_resource.h"

namespace {

struct Seen {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Seen> seenByPrevious;
std::vector<std::string> droppedNames;
std::vector<std::u16string> droppedWideNames;

// The window's own procedure: records what reaches it and answers with a value built from the message.
LRESULT CALLBACK PreviousProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_USER) {
    seenByPrevious.push_back({message, wParam, lParam});
    return static_cast<LRESULT>(message * 3 + wParam * 5 + static_cast<WPARAM>(lParam));
  }
  if (message == WM_DROPFILES) seenByPrevious.push_back({message, wParam, lParam});
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void RecordName(const char* path) { droppedNames.emplace_back(path ? path : "<null>"); }
void RecordWideName(const wchar_t* path) { droppedWideNames.emplace_back(reinterpret_cast<const char16_t*>(path)); }

HDROP MakeDrop(const std::vector<Bytes>& names, bool wide) {
  const Bytes block = BuildDropFilesBlock(names, wide);
  HGLOBAL handle = ::GlobalAlloc(GMEM_MOVEABLE, block.size());
  class GlobalLock lock(handle);
  std::memcpy(lock.data(), block.data(), block.size());
  return static_cast<HDROP>(handle);
}

HDROP MakeWideDrop(const std::vector<std::u16string>& names) {
  std::vector<Bytes> encoded;
  for (const auto& name : names) encoded.push_back(Utf16ToLeBytes(name));
  return MakeDrop(encoded, true);
}

class FileDropTargetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seenByPrevious.clear();
    droppedNames.clear();
    droppedWideNames.clear();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PreviousProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"FennlowDropTestWindow";
    ::RegisterClassW(&windowClass);
    window_ = ::CreateWindowExW(0, L"FennlowDropTestWindow", L"drop", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                                nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window_, nullptr);
    original_ = ::GetWindowLongPtrW(window_, GWLP_WNDPROC);
  }
  void TearDown() override {
    if (window_) ::DestroyWindow(window_);
  }
  [[nodiscard]] bool AcceptsFiles() const { return (::GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; }
  LRESULT Drop(HDROP drop) { return ::SendMessageW(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0); }

  HWND window_ = nullptr;
  LONG_PTR original_ = 0;
};

TEST_F(FileDropTargetTest, InstallSubclassesAndUninstallRestoresThePreviousProcedureExactly) {
  FileDropTarget target;
  EXPECT_FALSE(AcceptsFiles());
  const WNDPROC previous = target.Install(window_, RecordName);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(previous), original_);
  EXPECT_EQ(target.previousProc(), previous);
  EXPECT_EQ(target.hwnd(), window_);
  EXPECT_FALSE(target.wideNames());
  EXPECT_NE(::GetWindowLongPtrW(window_, GWLP_WNDPROC), original_);
  EXPECT_TRUE(AcceptsFiles());

  target.Uninstall();
  EXPECT_EQ(::GetWindowLongPtrW(window_, GWLP_WNDPROC), original_);
  EXPECT_FALSE(AcceptsFiles());
  EXPECT_EQ(target.previousProc(), nullptr);
  EXPECT_EQ(target.hwnd(), window_);  // kept

  // A second Uninstall restores nothing again and leaves everything as it was.
  ::DragAcceptFiles(window_, TRUE);
  target.Uninstall();
  EXPECT_EQ(::GetWindowLongPtrW(window_, GWLP_WNDPROC), original_);
  EXPECT_FALSE(AcceptsFiles());
  EXPECT_FALSE(target.installed());
  EXPECT_EQ(target.hwnd(), window_);

  // Dropping now goes to the window's own procedure.
  HDROP drop = MakeWideDrop({u"C:\\a.apk"});
  Drop(drop);
  EXPECT_TRUE(droppedNames.empty());
  ASSERT_EQ(seenByPrevious.size(), 1u);
  EXPECT_EQ(seenByPrevious[0].message, static_cast<UINT>(WM_DROPFILES));
  ::DragFinish(drop);
}

TEST_F(FileDropTargetTest, OtherMessagesReachThePreviousProcedureUnchangedWithTheirResults) {
  FileDropTarget target;
  target.Install(window_, RecordName);
  const Seen cases[] = {
      {WM_USER, 0, 0},
      {WM_USER + 7, 11, 13},
      {WM_APP + 3, static_cast<WPARAM>(-1), static_cast<LPARAM>(0x7FFF0000)},
      {0xC123, 2, -5},
  };
  for (const Seen& c : cases) {
    const LRESULT expected = static_cast<LRESULT>(c.message * 3 + c.wParam * 5 + static_cast<WPARAM>(c.lParam));
    EXPECT_EQ(::SendMessageW(window_, c.message, c.wParam, c.lParam), expected) << c.message;
  }
  ASSERT_EQ(seenByPrevious.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(seenByPrevious[i].message, cases[i].message);
    EXPECT_EQ(seenByPrevious[i].wParam, cases[i].wParam);
    EXPECT_EQ(seenByPrevious[i].lParam, cases[i].lParam);
  }
  wchar_t caption[16] = {};
  ::SetWindowTextW(window_, L"still works");
  ::GetWindowTextW(window_, caption, 16);
  EXPECT_STREQ(caption, L"still works");
}

TEST_F(FileDropTargetTest, ThreeFilesArriveOncePerFileInTheListedOrder) {
  FileDropTarget target;
  target.Install(window_, RecordName);
  EXPECT_EQ(Drop(MakeWideDrop({u"C:\\apks\\one.apk", u"C:\\apks\\two.apk", u"D:\\three.apk"})), 0);
  EXPECT_EQ(droppedNames, (std::vector<std::string>{"C:\\apks\\one.apk", "C:\\apks\\two.apk", "D:\\three.apk"}));
  EXPECT_TRUE(seenByPrevious.empty());  // the drop is answered here, not passed on

  // A legacy source's ANSI list arrives the same way.
  droppedNames.clear();
  EXPECT_EQ(Drop(MakeDrop({TextToBytes("C:\\x.apk"), TextToBytes("C:\\y.apk")}, false)), 0);
  EXPECT_EQ(droppedNames, (std::vector<std::string>{"C:\\x.apk", "C:\\y.apk"}));
}

TEST_F(FileDropTargetTest, LongNamesArriveWhole) {
  FileDropTarget target;
  target.Install(window_, RecordName);
  std::vector<std::u16string> names;
  std::vector<std::string> expected;
  for (std::size_t length : {1023u, 1024u, 1025u, 4000u, 40000u}) {
    std::u16string name = u"C:\\" + std::u16string(length - 8, u'n') + u"\\a.apk";
    names.push_back(name);
    expected.push_back("C:\\" + std::string(length - 8, 'n') + "\\a.apk");
    ASSERT_EQ(name.size(), length + 1);
  }
  Drop(MakeWideDrop(names));
  EXPECT_EQ(droppedNames, expected);
}

TEST_F(FileDropTargetTest, ChineseNamesArriveInCodePage936OnAnySystem) {
  FileDropTarget target;
  target.Install(window_, RecordName);
  Drop(MakeWideDrop({u"C:\\下载\\图标包.apk", u"Z:\\测试.apk"}));
  EXPECT_EQ(droppedNames, (std::vector<std::string>{"C:\\\xCF\xC2\xD4\xD8\\\xCD\xBC\xB1\xEA\xB0\xFC.apk",
                                                    "Z:\\\xB2\xE2\xCA\xD4.apk"}));
}

TEST_F(FileDropTargetTest, NamesOutsideCodePage936ArriveAsAPathToTheSameFile) {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + L"fennlow \uD55C\uAE00 \u0E44\u0E17\u0E22.apk";  // Hangul, Thai
  UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(file);
  file.reset();

  FileDropTarget target;
  target.Install(window_, RecordName);
  Drop(MakeWideDrop({std::u16string(path.begin(), path.end())}));
  ASSERT_EQ(droppedNames.size(), 1u);
  const std::u16string received = TextToUtf16(droppedNames[0]);
  EXPECT_EQ(Utf16ToText(received), droppedNames[0]);  // plain code page 936 text
  wchar_t longForm[MAX_PATH] = {};
  ASSERT_NE(::GetLongPathNameW(reinterpret_cast<const wchar_t*>(received.c_str()), longForm, MAX_PATH), 0u)
      << droppedNames[0];
  EXPECT_EQ(::CompareStringOrdinal(longForm, -1, path.c_str(), -1, TRUE), CSTR_EQUAL);
  ::DeleteFileW(path.c_str());
}

TEST_F(FileDropTargetTest, WideCallbackReceivesUtf16Names) {
  FileDropTarget target;
  target.Install(window_, RecordWideName);
  EXPECT_TRUE(target.wideNames());
  const std::u16string longName = u"C:\\" + std::u16string(2000, u'\u56fe') + u".apk";
  Drop(MakeWideDrop({u"C:\\下载\\a.apk", u"Z:\\\uD55C.apk", longName}));
  EXPECT_EQ(droppedWideNames, (std::vector<std::u16string>{u"C:\\下载\\a.apk", u"Z:\\\uD55C.apk", longName}));
  EXPECT_TRUE(droppedNames.empty());
}

TEST_F(FileDropTargetTest, ADropOfNoFilesCallsNothing) {
  FileDropTarget target;
  target.Install(window_, RecordName);
  EXPECT_EQ(Drop(MakeWideDrop({})), 0);
  EXPECT_EQ(droppedNames.size(), 0u) << "wide";
  EXPECT_EQ(Drop(MakeDrop({}, false)), 0);
  EXPECT_EQ(droppedNames.size(), 0u) << "ansi";
  EXPECT_TRUE(seenByPrevious.empty());
}

TEST_F(FileDropTargetTest, InstallsAtAnyVersionAndSurvivesTheWindowsEnd) {
  for (std::int32_t version : {0, 0x501, 0x600, 0xA00}) {
    osVersionWord = version;
    FileDropTarget target;
    EXPECT_NE(target.Install(window_, RecordName), nullptr) << version;
    EXPECT_TRUE(AcceptsFiles());
    target.Uninstall();
  }
  osVersionWord = 0;

  FileDropTarget target;
  target.Install(window_, RecordName);
  ::DestroyWindow(window_);  // the exit order: the window goes first, the target later
  const HWND gone = window_;
  window_ = nullptr;
  EXPECT_FALSE(target.installed());
  target.Uninstall();
  EXPECT_EQ(target.hwnd(), gone);
}

TEST_F(FileDropTargetTest, ReinstallingReplacesTheCallbackWithoutStacking) {
  FileDropTarget target;
  target.Install(window_, RecordWideName);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(target.Install(window_, RecordName)), original_);
  Drop(MakeWideDrop({u"C:\\a.apk"}));
  EXPECT_EQ(droppedNames, std::vector<std::string>{"C:\\a.apk"});
  EXPECT_TRUE(droppedWideNames.empty());
  target.Uninstall();
  EXPECT_EQ(::GetWindowLongPtrW(window_, GWLP_WNDPROC), original_);
}

}  // namespace
