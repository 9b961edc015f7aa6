// Mode 1 with the real uz.exe through cmd.exe, in a throw-away run directory.
#include <gtest/gtest.h>

#include "app/module_state.h"
#include "extract/backends.h"
#include "tests/extract/test_env_win.h"
#include "tests/extract/zip_builder.h"
#include "util/windows_prelude.h"

namespace {

class UnzipBackend : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWindow(run.text());
    currentIconPath.clear();
  }
  static Text Quoted(const std::wstring& path) {
    Text quoted(1, '"');
    quoted += ToText(path);
    quoted += '"';
    return quoted;
  }
  TempRunDirectory run;
};

TEST_F(UnzipBackend, ExtractsTheEntryIntoIcon) {
  const std::wstring apk = run.AddFixture(L"png_densities.apk");
  const Bytes bytes = ExtractWithUnzip(Quoted(apk), "res/mipmap-xxxhdpi-v4/ic_launcher.png");
  EXPECT_EQ(bytes, ExpectedEntry(L"png_densities"));
  EXPECT_FALSE(bytes.empty());
  EXPECT_EQ(currentIconPath, run.text() + "\\icon\\ic_launcher.png");
  EXPECT_EQ(ReadFileBytes(run.path() + L"\\icon\\ic_launcher.png"), bytes);
}

TEST_F(UnzipBackend, SecondPackageWithTheSameIconNameIsShown) {
  const std::wstring a = run.AddFixture(L"same_name_a.apk");
  const std::wstring b = run.AddFixture(L"same_name_b.apk");
  const Text entry = "res/mipmap-mdpi-v4/ic_launcher.png";
  ASSERT_NE(ExpectedEntry(L"same_name_a"), ExpectedEntry(L"same_name_b"));
  EXPECT_EQ(ExtractWithUnzip(Quoted(a), entry), ExpectedEntry(L"same_name_a"));
  // A second run over an existing file must neither ask on the console nor keep the old file.
  EXPECT_EQ(ExtractWithUnzip(Quoted(b), entry), ExpectedEntry(L"same_name_b"));
  EXPECT_EQ(ExtractWithUnzip(Quoted(a), entry), ExpectedEntry(L"same_name_a"));
}

TEST_F(UnzipBackend, FailedExtractionNeverShowsTheOlderIcon) {
  const std::wstring a = run.AddFixture(L"same_name_a.apk");
  const Text entry = "res/mipmap-mdpi-v4/ic_launcher.png";
  ASSERT_FALSE(ExtractWithUnzip(Quoted(a), entry).empty());
  ::SetFileAttributesW((run.path() + L"\\icon\\ic_launcher.png").c_str(), FILE_ATTRIBUTE_READONLY);
  const std::wstring noIcon = run.AddFixture(L"no_icon.apk");
  EXPECT_TRUE(ExtractWithUnzip(Quoted(noIcon), entry).empty());
  EXPECT_EQ(currentIconPath, run.text() + "\\icon\\ic_launcher.png");
  EXPECT_TRUE(ExtractWithUnzip(Quoted(run.path() + L"\\absent.apk"), entry).empty());
}

TEST_F(UnzipBackend, RootEntryIsFoundAndShown) {
  const std::wstring apk = run.AddFixture(L"root_icon.apk");
  const Bytes bytes = ExtractWithUnzip(Quoted(apk), "icon.png");
  EXPECT_EQ(bytes, ExpectedEntry(L"root_icon"));
  EXPECT_FALSE(bytes.empty());
  EXPECT_EQ(currentIconPath, run.text() + "\\icon\\icon.png");
}

TEST_F(UnzipBackend, EntryWithSpacesIsOneArgument) {
  const Bytes icon = AsBytes("spaced icon");
  const std::wstring apk =
      run.AddFile(L"spaces.apk", BuildStoredZip({{"b.png", AsBytes("wrong one")}, {"res/a b.png", icon}}));
  EXPECT_EQ(ExtractWithUnzip(Quoted(apk), "res/a b.png"), icon);
  EXPECT_FALSE(FileExists(run.path() + L"\\icon\\b.png"));
}

TEST_F(UnzipBackend, HostileEntriesRunNothingAndWriteNothing) {
  // What badging prints for the fixtures' hostile names, and those names as they stand in the zip.
  const char* hostile[] = {
      "res/a&echo pwned>fennlow-pwned.txt&.png",
      "res/q\\\"&echo pwned>fennlow-pwned.txt&\\\"q.png",
      "res/q\"&echo pwned>fennlow-pwned.txt&\"q.png",
      "res/p%OS%^^|echo pwned>icon\\\\..\\\\fennlow-pwned.txt|.png",
      "res/p%OS%^|echo pwned>icon\\..\\fennlow-pwned.txt|.png",
      "res/x.png\necho pwned>fennlow-pwned.txt",
      "res/*.png",
      "res/[a-z].png",
      "../fennlow-pwned.png",
      "-d ..\\x.png",
  };
  const std::wstring apk = run.AddFixture(L"hostile_amp.apk");
  const std::vector<std::wstring> before = ListTree(run.path());
  for (const char* entry : hostile) {
    currentIconPath = "earlier";
    EXPECT_TRUE(ExtractWithUnzip(Quoted(apk), entry).empty()) << entry;
    EXPECT_TRUE(currentIconPath.empty()) << entry;
  }
  EXPECT_EQ(ListTree(run.path()), before);
  EXPECT_FALSE(FileExists(BinDirectory() + L"\\fennlow-pwned.txt"));
}

}  // namespace
