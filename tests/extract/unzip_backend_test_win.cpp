// Mode 1 with the real uz.exe through cmd.exe, in a throw-away run directory.
#include <gtest/gtest.h>

#include "app/module_state.h"
#include "extract/backends.h"
#include "extract/command_line_path_win.h"
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

// UnZip reads its command line in the ANSI code page and takes [ ] in the archive name for a
// pattern: packages under such names are still extracted, whatever the system's code page.
TEST_F(UnzipBackend, PackagesUnderNamesUnzipWouldMisreadAreExtracted) {
  const std::wstring folders[] = {
      L"\u56FE\u6807 \u4E0B\u8F7D",  // 图标 下载
      L"a[1]",
      L"\u00E9t\u00E9 \u0391\u03B2",  // été Αβ: code page 936 has both, 1252 only é
      L"plain",
  };
  for (const std::wstring& folder : folders) {
    ASSERT_TRUE(::CreateDirectoryW((run.path() + L"\\" + folder).c_str(), nullptr));
    const std::wstring apk = run.AddFixture(L"png_densities.apk", folder + L"\\\u5305[v2].apk");
    const Bytes bytes = ExtractWithUnzip(Quoted(apk), "res/mipmap-xxxhdpi-v4/ic_launcher.png");
    EXPECT_EQ(bytes, ExpectedEntry(L"png_densities")) << ToText(folder);
    EXPECT_FALSE(FileExists(run.path() + L"\\unzip-source.apk.tmp")) << "the stand-in is removed";
  }
}

// Where a system has no short names, a link or copy of the package stands in, and goes again.
TEST_F(UnzipBackend, StandInWithoutShortNamesNamesTheSameBytesAndGoes) {
  const std::wstring apk = run.AddFixture(L"png_densities.apk", L"\u56FE\u6807[1].apk");
  const std::wstring readOnly = run.AddFixture(L"same_name_a.apk", L"\u53EA\u8BFB[2].apk");
  ASSERT_TRUE(::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  const std::wstring standIn = run.path() + L"\\unzip-source.apk.tmp";
  for (const std::wstring& source : {apk, readOnly}) {
    {
      const CommandLinePackagePath path(PackageReader::UnZip, Quoted(source), CommandLinePackagePath::StandIns::LinkOrCopyOnly);
      EXPECT_EQ(path.quoted(), "\"unzip-source.apk.tmp\"");
      EXPECT_EQ(ReadFileBytes(standIn), ReadFileBytes(source));
    }
    EXPECT_FALSE(FileExists(standIn));
    EXPECT_TRUE(FileExists(source));
  }
  EXPECT_EQ(::GetFileAttributesW(readOnly.c_str()) & FILE_ATTRIBUTE_READONLY, DWORD{FILE_ATTRIBUTE_READONLY});
  ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
  // Names UnZip reads as they are, and paths that name no file, stay as they were.
  const Text plain = Quoted(run.AddFixture(L"png_densities.apk", L"plain.apk"));
  EXPECT_EQ(CommandLinePackagePath(PackageReader::UnZip, plain, CommandLinePackagePath::StandIns::LinkOrCopyOnly).quoted(), plain);
  const Text absent = Quoted(run.path() + L"\\\u65E0[x].apk");
  EXPECT_EQ(CommandLinePackagePath(PackageReader::UnZip, absent).quoted(), absent);
  EXPECT_FALSE(FileExists(standIn));
}

}  // namespace
