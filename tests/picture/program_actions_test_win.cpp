// The picture actions on the program's own main window after real imports: the buttons are
// clicked, the common dialogs are answered from a timer of the window's thread (they run modally
// on it), and the clipboard and the file system are read back.
#include <gtest/gtest.h>

#include <cwchar>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/form.h"
#include "app/main_window.h"
#include "app/main_window_win.h"
#include "app/wide_win.h"
#include "extract/import.h"
#include "picture/clipboard_pixels.h"
#include "picture/image_decode.h"
#include "tests/app/started_program_win.h"
#include "tests/app/test_support_win.h"
#include "tests/picture/clipboard_reader_win.h"
#include "util/windows_prelude.h"
#include <commdlg.h>
#include <dlgs.h>

namespace {

std::wstring FullPath(const std::wstring& path) {
  wchar_t full[MAX_PATH * 2] = {};
  const DWORD length = ::GetFullPathNameW(path.c_str(), MAX_PATH * 2, full, nullptr);
  return length > 0 && length < MAX_PATH * 2 ? std::wstring(full, length) : path;
}

std::wstring FixturePath(const std::wstring& name) {
  return FullPath(TestExeDirectory() + L"\\..\\fixtures\\" + name + L".apk");
}

Bytes ExpectedEntry(const std::wstring& name) {
  return ReadWholeFile(TestExeDirectory() + L"\\..\\extract-expected\\" + name + L".bin");
}

// What a user does in a common dialog: type a name and confirm, or cancel.
struct DialogAnswer {
  std::wstring typed;  // empty: cancel
};
DialogAnswer Confirm(const std::wstring& typed) { return {typed}; }
DialogAnswer Cancel() { return {}; }

// What the dialog showed when it opened: its folder and the name in its file name box.
struct DialogSeen {
  std::wstring folder;
  std::wstring name;
  [[nodiscard]] std::wstring Path() const {
    if (folder.empty()) return name;
    return folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
  }
};

// Answers the dialogs of this thread in order, from a thread timer: the modal loop of a common
// dialog dispatches it like any other message.
class DialogDriver {
 public:
  explicit DialogDriver(std::vector<DialogAnswer> answers) : answers_(answers.begin(), answers.end()) {
    active_ = this;
    timer_ = ::SetTimer(nullptr, 0, 100, &DialogDriver::OnTimer);
  }
  ~DialogDriver() {
    ::KillTimer(nullptr, timer_);
    active_ = nullptr;
  }
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  [[nodiscard]] const std::vector<DialogSeen>& seen() const { return seen_; }
  [[nodiscard]] bool done() const { return answers_.empty(); }

 private:
  static BOOL CALLBACK FindDialog(HWND hwnd, LPARAM found) {
    wchar_t name[16] = {};
    ::GetClassNameW(hwnd, name, 16);
    if (std::wcscmp(name, L"#32770") == 0 && ::IsWindowVisible(hwnd)) {
      *reinterpret_cast<HWND*>(found) = hwnd;
      return FALSE;
    }
    return TRUE;
  }

  static std::wstring ControlText(HWND control) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
  }

  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    DialogDriver* self = active_;
    if (!self || self->answers_.empty()) return;
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &DialogDriver::FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    // The file name box: a combo box in the Explorer-style dialogs, an edit box in older ones.
    HWND nameBox = ::GetDlgItem(dialog, cmb13);
    if (!nameBox) nameBox = ::GetDlgItem(dialog, edt1);
    if (!nameBox) return;
    DialogSeen seen;
    wchar_t folder[MAX_PATH * 2] = {};
    if (::SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH * 2, reinterpret_cast<LPARAM>(folder)) > 0) {
      seen.folder = folder;
    }
    seen.name = ControlText(nameBox);
    self->seen_.push_back(seen);
    const DialogAnswer answer = self->answers_.front();
    self->answers_.pop_front();
    if (answer.typed.empty()) {
      ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    } else {
      ::SetWindowTextW(nameBox, answer.typed.c_str());
      ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    }
  }

  static inline DialogDriver* active_ = nullptr;
  std::deque<DialogAnswer> answers_;
  std::vector<DialogSeen> seen_;
  UINT_PTR timer_ = 0;
};

Image32 Expected(const Bytes& picture) { return OverWhite(DecodeImage(picture)); }

// The program started once for the suite; imports run in memory (mode 2) so the tests leave
// nothing beside the executable.
class ProgramActions : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    program_ = std::make_unique<StartedProgram>();
    window_ = program_->window();
  }
  static void TearDownTestSuite() { program_.reset(); }
  void SetUp() override {
    ASSERT_NE(window_, nullptr);
    ::SendMessageW(window_->Control(kRadio2), BM_CLICK, 0, 0);
    ASSERT_EQ(Mode1Checked(), 0);
    SetPictureBytes({});
  }
  static void Click(int button) { ::SendMessageW(window_->Control(button), BM_CLICK, 0, 0); }

  static inline std::unique_ptr<StartedProgram> program_;
  static inline MainWindow* window_ = nullptr;
};

// The copy button after real imports: the clipboard's bitmap is the imported icon at its own size,
// over white; a second copy replaces the first. Pictures of the other formats the box shows are
// copied the same way.
TEST_F(ProgramActions, CopyAfterImportsGivesTheShownIcon) {
  PutText(L"earlier content");
  Click(kButton2);
  EXPECT_EQ(ClipboardText(), L"earlier content") << "nothing imported yet";
  EXPECT_FALSE(ClipboardHasBitmap());

  for (const wchar_t* fixture : {L"png_densities", L"webp_only", L"same_name_a"}) {
    ImportApk(FromWideString(FixturePath(fixture)));
    const Bytes icon = ExpectedEntry(fixture);
    ASSERT_FALSE(icon.empty());
    ASSERT_EQ(PictureBytes(), icon) << FromWideString(fixture);
    Click(kButton2);
    const Image32 copied = ClipboardBitmap();
    const Image32 expected = Expected(icon);
    EXPECT_EQ(copied.width, expected.width) << FromWideString(fixture);
    EXPECT_EQ(copied.height, expected.height) << FromWideString(fixture);
    EXPECT_TRUE(copied.pixels == expected.pixels) << FromWideString(fixture);
    EXPECT_TRUE(ClipboardText().empty());
  }
}

// The save button with the real save dialog: it starts from the path last confirmed in either
// dialog, a confirmed name is written as PNG, and a cancelled dialog changes nothing.
TEST_F(ProgramActions, SaveDialogStartsFromThePreviousPathAndCancelChangesNothing) {
  const TempDirectory folder;
  const std::wstring apk = FixturePath(L"webp_only");
  const std::wstring saved = folder / L"\u56FE\u6807";  // 图标
  {
    DialogDriver driver({Confirm(apk)});
    Click(kButton1);  // import through the open dialog
    EXPECT_TRUE(driver.done());
  }
  ASSERT_EQ(PictureBytes(), ExpectedEntry(L"webp_only"));
  {
    DialogDriver driver({Confirm(saved)});
    Click(kButton3);
    ASSERT_TRUE(driver.done());
    ASSERT_EQ(driver.seen().size(), 1u);
    EXPECT_EQ(driver.seen()[0].Path(), apk) << "the save dialog starts from the imported package";
  }
  const Bytes written = ReadWholeFile(saved + L".png");
  const Image32 fromFile = DecodeImage(written);
  EXPECT_EQ(Bytes(written.begin(), written.begin() + 4), (Bytes{0x89, 'P', 'N', 'G'}));
  EXPECT_TRUE(fromFile.pixels == DecodeImage(ExpectedEntry(L"webp_only")).pixels);

  // Cancelled: the file stays as it was and nothing is added to the folder.
  ASSERT_TRUE(WriteWholeFileForTest(saved + L".png", {'k', 'e', 'e', 'p'}));
  {
    DialogDriver driver({Cancel()});
    Click(kButton3);
    ASSERT_TRUE(driver.done());
    ASSERT_EQ(driver.seen().size(), 1u);
    EXPECT_EQ(driver.seen()[0].Path(), saved) << "the save dialog starts from the last saved path";
  }
  EXPECT_EQ(ReadWholeFile(saved + L".png"), (Bytes{'k', 'e', 'e', 'p'}));
  WIN32_FIND_DATAW found{};
  int files = 0;
  const HANDLE search = ::FindFirstFileW((folder / L"*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  EXPECT_EQ(files, 1);

  // The import dialog then starts from the saved path too; cancelling it keeps the picture.
  {
    DialogDriver driver({Cancel()});
    Click(kButton1);
    ASSERT_TRUE(driver.done());
    ASSERT_EQ(driver.seen().size(), 1u);
    EXPECT_EQ(driver.seen()[0].Path(), saved) << "the import dialog starts from the last saved path";
  }
  EXPECT_EQ(PictureBytes(), ExpectedEntry(L"webp_only"));

  // Nothing shown: the save button opens no dialog and writes nothing.
  SetPictureBytes({});
  {
    DialogDriver driver({Confirm(folder / L"never")});
    Click(kButton3);
    PumpMessages();
    EXPECT_TRUE(driver.seen().empty());
  }
  EXPECT_EQ(::GetFileAttributesW((folder / L"never.png").c_str()), INVALID_FILE_ATTRIBUTES);
  ::SetCurrentDirectoryW(TestExeDirectory().c_str());  // the dialogs may have entered the folder
}

}  // namespace
