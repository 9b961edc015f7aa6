// The import from path to picture: real badging tool, real lookup engine, both back ends.
#include <gtest/gtest.h>

#include "app/module_state.h"
#include "extract/import.h"
#include "tests/extract/test_env_win.h"
#include "util/windows_prelude.h"

namespace {

class Import : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWindow(run.text());
    currentIconPath.clear();
  }
  TempRunDirectory run;
};

struct ImportCase {
  const wchar_t* fixture;
  bool shows;  // false: badging names no icon and the picture stays as it was
};

const ImportCase kCases[] = {
    {L"png_densities", true}, {L"drawable_only", true},  {L"webp_only", true},    {L"mixed_png_webp", true},
    {L"xml_last", true},      {L"adaptive_fallbacks", true}, {L"root_icon", true},
    {L"no_icon", false},      {L"adaptive_only", false}, {L"not_zip", false},     {L"empty", false},
};

TEST_F(Import, BothModesShowTheEntryZipfileReads) {
  for (const int mode : {1, 2}) {
    for (const ImportCase& c : kCases) {
      const std::wstring apk = run.AddFixture(std::wstring(c.fixture) + L".apk", L"package.apk");
      Window().mode1Checked = mode == 1;
      Window().shown.clear();
      ImportApk(ToText(apk));
      if (c.shows) {
        ASSERT_EQ(Window().shown.size(), 1u) << ToText(c.fixture) << " mode " << mode;
        EXPECT_EQ(Window().shown.back(), ExpectedEntry(c.fixture)) << ToText(c.fixture) << " mode " << mode;
      } else {
        EXPECT_TRUE(Window().shown.empty()) << ToText(c.fixture) << " mode " << mode;
      }
    }
  }
}

TEST_F(Import, DamagedEntryClearsThePicture) {
  for (const int mode : {1, 2}) {
    for (const wchar_t* fixture : {L"crc_error", L"huge_declared_size"}) {
      const std::wstring apk = run.AddFixture(std::wstring(fixture) + L".apk");
      Window().mode1Checked = mode == 1;
      Window().shown.clear();
      ImportApk(ToText(apk));
      // Mode 1: UnZip refuses or leaves a damaged file; either way no older icon stands in.
      ASSERT_EQ(Window().shown.size(), 1u) << ToText(fixture) << " mode " << mode;
      if (mode == 2) {
        EXPECT_TRUE(Window().shown.back().empty()) << ToText(fixture);
      }
    }
  }
}

TEST_F(Import, HostilePackagesRunNothingAndWriteOnlyIntoIcon) {
  for (const int mode : {1, 2}) {
    for (const wchar_t* fixture : {L"hostile_amp", L"hostile_quote", L"hostile_pipe"}) {
      const std::wstring apk = run.AddFixture(std::wstring(fixture) + L".apk");
      const std::vector<std::wstring> before = ListTree(run.path());
      Window().mode1Checked = mode == 1;
      Window().shown.clear();
      ImportApk(ToText(apk));
      EXPECT_FALSE(FileExists(run.path() + L"\\fennlow-pwned.txt")) << ToText(fixture);
      EXPECT_FALSE(FileExists(run.path() + L"\\icon\\fennlow-pwned.txt")) << ToText(fixture);
      std::vector<std::wstring> after = ListTree(run.path());
      std::erase_if(after, [](const std::wstring& p) { return p == L"icon" || p.starts_with(L"icon\\"); });
      EXPECT_EQ(after, before) << ToText(fixture);
      ASSERT_EQ(Window().shown.size(), 1u) << ToText(fixture);
      // Mode 2 names the entry exactly and reads it; mode 1 refuses to put it on a command line.
      if (mode == 1) {
        EXPECT_TRUE(Window().shown.back().empty()) << ToText(fixture);
      }
    }
  }
}

TEST_F(Import, BadgingRunsInTheRunDirectory) {
  const std::wstring apk = run.AddFixture(L"png_densities.apk");
  // pt.exe exists only in the run directory: the import must get there from wherever it is.
  TempRunDirectory elsewhere(std::vector<std::wstring>{});
  ::SetCurrentDirectoryW(elsewhere.path().c_str());
  ImportApk(ToText(apk));
  ASSERT_EQ(Window().shown.size(), 1u);
  EXPECT_EQ(Window().shown.back(), ExpectedEntry(L"png_densities"));
  wchar_t current[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, current);
  EXPECT_EQ(std::wstring(current), run.path());
}

TEST_F(Import, ImportButtonImportsTheConfirmedPathAsItIs) {
  ::CreateDirectoryW((run.path() + L"\\x.apk").c_str(), nullptr);
  const std::wstring paths[] = {
      run.AddFixture(L"png_densities.apk", L"x.apk\\a.apk"),
      run.AddFixture(L"png_densities.apk", L"a.APK"),
      run.AddFixture(L"png_densities.apk", L"noextension"),
  };
  for (const std::wstring& path : paths) {
    Window().shown.clear();
    Window().dialogPath = ToText(path);
    OnImportClicked();
    EXPECT_EQ(Window().dialogKind, 0);
    EXPECT_EQ(Window().dialogFilter, "APK\xCE\xC4\xBC\xFE(*.apk)|*.apk");
    ASSERT_EQ(Window().shown.size(), 1u) << ToText(path);
    EXPECT_EQ(Window().shown.back(), ExpectedEntry(L"png_densities")) << ToText(path);
  }
}

TEST_F(Import, CancelledDialogDoesNothing) {
  Window().dialogConfirms = false;
  const std::vector<std::wstring> before = ListTree(run.path());
  OnImportClicked();
  EXPECT_TRUE(Window().shown.empty());
  EXPECT_EQ(ListTree(run.path()), before);
}

TEST_F(Import, DroppedFilesAreImportedUnderTheirOwnNames) {
  const std::wstring a = run.AddFixture(L"same_name_a.apk", L"A.APK");
  const std::wstring b = run.AddFixture(L"same_name_b.apk", L"b");
  OnFileDropped(ToText(a).c_str());
  OnFileDropped(ToText(b).c_str());
  OnFileDropped(nullptr);  // empty path: badging names nothing, the picture stays
  ASSERT_EQ(Window().shown.size(), 2u);
  EXPECT_EQ(Window().shown[0], ExpectedEntry(L"same_name_a"));
  EXPECT_EQ(Window().shown[1], ExpectedEntry(L"same_name_b"));
  EXPECT_EQ(currentIconPath, run.text() + "\\icon\\ic_launcher.png");
}

// cmd expands %NAME% even inside the quoted path: packages under such names still import in both
// modes, and the stand-ins made for the commands are gone afterwards.
TEST_F(Import, PackagesUnderNamesWithPercentSignsAreImported) {
  const std::wstring folders[] = {L"%WINDIR%", L"100% %OS% \u56FE\u6807", L"a[1] %TEMP%"};
  for (const std::wstring& folder : folders) {
    ASSERT_TRUE(::CreateDirectoryW((run.path() + L"\\" + folder).c_str(), nullptr));
    const std::wstring apk = run.AddFixture(L"png_densities.apk", folder + L"\\%PATH%.apk");
    for (const int mode : {1, 2}) {
      Window().mode1Checked = mode == 1;
      Window().shown.clear();
      ImportApk(ToText(apk));
      ASSERT_EQ(Window().shown.size(), 1u) << ToText(folder) << " mode " << mode;
      EXPECT_EQ(Window().shown.back(), ExpectedEntry(L"png_densities")) << ToText(folder) << " mode " << mode;
      EXPECT_FALSE(FileExists(run.path() + L"\\badging-source.apk.tmp"));
      EXPECT_FALSE(FileExists(run.path() + L"\\unzip-source.apk.tmp"));
    }
  }
}

}  // namespace
