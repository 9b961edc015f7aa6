// Files dropped on the program's own main window, wired the way start-up wires it: the shell's drop
// message reaches the import, which runs the real badging tool and fills the picture box.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/form.h"
#include "app/main_window.h"
#include "app/main_window_win.h"
#include "app/wide_win.h"
#include "dnd/drop_target.h"
#include "picture/image_decode.h"
#include "tests/app/started_program_win.h"
#include "tests/app/test_support_win.h"
#include "util/unique_resource.h"
#include "util/windows_prelude.h"
#include <shlobj.h>

namespace {

std::wstring FixturePath(const std::wstring& name) { return TestExeDirectory() + L"\\..\\fixtures\\" + name + L".apk"; }

// The icon entry as Python's zipfile read it from the fixture.
Bytes ExpectedEntry(const std::wstring& name) {
  return ReadWholeFile(TestExeDirectory() + L"\\..\\extract-expected\\" + name + L".bin");
}

std::wstring IconDirectory() { return TestExeDirectory() + L"\\icon"; }

// What Explorer hands a window: a DROPFILES header and the wide names, each zero-terminated, with
// one more zero at the end, in a movable global block. The receiver frees it (DragFinish).
HDROP MakeWideDrop(const std::vector<std::wstring>& paths) {
  std::wstring names;
  for (const std::wstring& path : paths) names += path + L'\0';
  names += L'\0';
  const std::size_t size = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
  UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
  if (!block) return nullptr;
  {
    class GlobalLock lock(block.get());
    auto* bytes = static_cast<unsigned char*>(lock.data());
    if (!bytes) return nullptr;
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::memcpy(bytes, &header, sizeof(header));
    std::memcpy(bytes + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
  }
  return static_cast<HDROP>(block.release());
}

struct Bgra {
  int b, g, r, a;
};

Bgra CentrePixel(const Image32& image) {
  const std::size_t at = (static_cast<std::size_t>(image.height / 2) * static_cast<std::size_t>(image.width) +
                          static_cast<std::size_t>(image.width / 2)) *
                         4;
  return {image.pixels[at], image.pixels[at + 1], image.pixels[at + 2], image.pixels[at + 3]};
}

bool Near(int a, int b) { return a - b <= 6 && b - a <= 6; }

// The main window of the running suite.
HWND mainWindow = nullptr;

// A wide drop on the main window, as the shell sends it.
LRESULT DropOnMainWindow(const std::vector<std::wstring>& paths) {
  const HDROP drop = MakeWideDrop(paths);
  EXPECT_NE(drop, nullptr);
  return ::SendMessageW(mainWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}

// The program started once for the suite, the way start-up starts it.
class ProgramDrop : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    program_ = std::make_unique<StartedProgram>();
    window_ = program_->window();
    mainWindow = window_ ? window_->hwnd() : nullptr;
  }
  static void TearDownTestSuite() { program_.reset(); }
  void SetUp() override {
    ASSERT_NE(window_, nullptr);
    ASSERT_TRUE(dropTargetObject && dropTargetObject->installed());
    ASSERT_EQ(dropTargetObject->hwnd(), window_->hwnd());
    SetPictureBytes({});
    ::DeleteFileW((IconDirectory() + L"\\ic_launcher.png").c_str());
    ::DeleteFileW((IconDirectory() + L"\\ic_launcher.webp").c_str());
  }
  void TearDown() override { ::SendMessageW(window_->Control(kRadio1), BM_CLICK, 0, 0); }

  static LRESULT Drop(const std::vector<std::wstring>& paths) { return DropOnMainWindow(paths); }
  static void ChooseMode(int mode) {
    ::SendMessageW(window_->Control(mode == 1 ? kRadio1 : kRadio2), BM_CLICK, 0, 0);
    ASSERT_EQ(Mode1Checked(), mode == 1 ? 1 : 0);
  }

  static inline std::unique_ptr<StartedProgram> program_;
  static inline MainWindow* window_ = nullptr;
};

// Three packages with different icons in one drop: each is imported in turn, so the last one listed
// is what the picture box shows. In mode 1 the earlier PNG icons are overwritten in "icon" in order.
TEST_F(ProgramDrop, ThreeDroppedPackagesAreImportedInOrderAndTheLastIsShown) {
  struct Case {
    std::vector<std::wstring> fixtures;  // dropped in this order
    Bgra lastColour;                     // the last fixture's icon centre
  };
  const Case cases[] = {
      {{L"same_name_a", L"png_densities", L"webp_only"}, {0xff, 0x00, 0x00, 0xff}},
      {{L"webp_only", L"same_name_a", L"png_densities"}, {0xc0, 0x00, 0xc0, 0xff}},
      {{L"png_densities", L"webp_only", L"same_name_a"}, {0x00, 0x00, 0xff, 0xff}},
  };
  for (const int mode : {1, 2}) {
    for (const Case& c : cases) {
      SetUp();
      ChooseMode(mode);
      std::vector<std::wstring> paths;
      for (const std::wstring& fixture : c.fixtures) {
        paths.push_back(FixturePath(fixture));
        ASSERT_FALSE(ExpectedEntry(fixture).empty()) << "no reference entry for " << FromWideString(fixture);
      }
      EXPECT_EQ(Drop(paths), 0);
      const std::wstring& last = c.fixtures.back();
      const std::string label = "mode " + std::to_string(mode) + ", last " + FromWideString(last);
      ASSERT_EQ(PictureBytes(), ExpectedEntry(last)) << label;
      const Image32 shown = DecodeImage(PictureBytes());
      ASSERT_FALSE(shown.empty()) << label;
      const Bgra centre = CentrePixel(shown);
      EXPECT_TRUE(Near(centre.b, c.lastColour.b) && Near(centre.g, c.lastColour.g) &&
                  Near(centre.r, c.lastColour.r) && Near(centre.a, c.lastColour.a))
          << label << ": centre " << centre.b << "," << centre.g << "," << centre.r << "," << centre.a;
      if (mode == 1) {
        // Both PNG packages extract to icon\ic_launcher.png: the one imported later owns the file.
        std::wstring laterPng;
        for (const std::wstring& fixture : c.fixtures) {
          if (fixture != L"webp_only") laterPng = fixture;
        }
        EXPECT_EQ(ReadWholeFile(IconDirectory() + L"\\ic_launcher.png"), ExpectedEntry(laterPng)) << label;
        EXPECT_EQ(ReadWholeFile(IconDirectory() + L"\\ic_launcher.webp"), ExpectedEntry(L"webp_only")) << label;
      }
    }
  }
}

// Drops png_densities from a folder and under a file name written in Chinese, in `mode`.
void DropUnderChineseNames(int mode) {
  const TempDirectory temp;
  const std::wstring folder = temp / L"\u62D6\u653E\u6D4B\u8BD5";  // 拖放测试
  ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
  const std::wstring apk = folder + L"\\\u56FE\u6807\u5305.apk";  // 图标包.apk
  ASSERT_TRUE(::CopyFileW(FixturePath(L"png_densities").c_str(), apk.c_str(), FALSE));
  EXPECT_EQ(DropOnMainWindow({apk}), 0);
  EXPECT_EQ(PictureBytes(), ExpectedEntry(L"png_densities")) << "mode " << mode;
  EXPECT_TRUE(::SetCurrentDirectoryW(TestExeDirectory().c_str()));  // lets the folder be removed
}

// Mode 2 reads the package through wide file APIs: Chinese names arrive intact on any system.
TEST_F(ProgramDrop, PackageUnderChineseNamesIsImportedInMemory) {
  ChooseMode(2);
  DropUnderChineseNames(2);
}

// UnZip reads its command line in the system's ANSI code page; Chinese names still reach it intact
// where that is not 936 (as under this Wine prefix).
TEST_F(ProgramDrop, PackageUnderChineseNamesIsImportedThroughUnzip) {
  ChooseMode(1);
  DropUnderChineseNames(1);
}

// A drop that names nothing importable leaves the shown icon alone and the window alive.
TEST_F(ProgramDrop, DropOfAMissingFileKeepsThePicture) {
  EXPECT_EQ(Drop({FixturePath(L"same_name_a")}), 0);
  ASSERT_EQ(PictureBytes(), ExpectedEntry(L"same_name_a"));
  EXPECT_EQ(Drop({TestExeDirectory() + L"\\no-such-package.apk"}), 0);
  EXPECT_EQ(PictureBytes(), ExpectedEntry(L"same_name_a"));
  EXPECT_TRUE(::IsWindow(window_->hwnd()));
}

}  // namespace
