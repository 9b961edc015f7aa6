// Saving pictures to the real file system, under the names the save rule gives.
#include <gtest/gtest.h>

#include <string>

#include "picture/image_decode.h"
#include "picture/save_format.h"
#include "picture/save_name.h"
#include "picture/save_win.h"
#include "tests/picture/picture_test_support_win.h"
#include "util/wide_win.h"

namespace {

// What the save button does with a confirmed path.
bool SaveAsConfirmed(const std::wstring& confirmed, const Bytes& picture) {
  return SavePictureTo(SaveNameFor(FromWide(confirmed)), picture);
}

struct SaveCase {
  const wchar_t* folder;     // created under the test's folder first ("" for none)
  const wchar_t* confirmed;  // relative to the test's folder
  const wchar_t* written;    // the file expected, relative to the test's folder; "" for none
};

TEST(SavePicture, TableOfNames) {
  const Bytes png = TestImage(L"square.png");
  ASSERT_TRUE(IsPngFile(png));
  const SaveCase cases[] = {
      {L"plain", L"plain\\icon", L"plain\\icon.png"},
      {L"lower", L"lower\\icon.png", L"lower\\icon.png"},
      {L"upper", L"upper\\icon.PNG", L"upper\\icon.PNG"},
      {L"a.png.dir", L"a.png.dir\\icon", L"a.png.dir\\icon.png"},
      {L"", L"missing\\icon", L""},
      {L"apk", L"apk\\app.apk", L"apk\\app.apk.png"},
      {L"\u56fe\u6807", L"\u56fe\u6807\\\u56fe\u6807", L"\u56fe\u6807\\\u56fe\u6807.png"},
  };
  for (const SaveCase& c : cases) {
    const std::wstring root = FreshFolder(std::wstring(L"names-") + (*c.folder ? c.folder : L"none"));
    if (*c.folder) ::CreateDirectoryW((root + L"\\" + c.folder).c_str(), nullptr);
    const bool saved = SaveAsConfirmed(root + L"\\" + c.confirmed, png);
    if (*c.written == L'\0') {
      EXPECT_FALSE(saved) << FromWide(c.confirmed);
      EXPECT_EQ(Listing(root), L"") << FromWide(c.confirmed);
      continue;
    }
    EXPECT_TRUE(saved) << FromWide(c.confirmed);
    EXPECT_EQ(ReadWhole(root + L"\\" + c.written), png) << FromWide(c.confirmed);
    // Exactly one file in its folder: no temporary left over, no folder renamed.
    const std::wstring written = c.written;
    const std::wstring folder = written.substr(0, written.find_last_of(L'\\'));
    EXPECT_EQ(Listing(root + L"\\" + folder), written.substr(written.find_last_of(L'\\') + 1) + L";");
    EXPECT_EQ(Listing(root), std::wstring(c.folder) + L";");
  }
}

TEST(SavePicture, ExistingFileIsReplacedWhole) {
  const std::wstring root = FreshFolder(L"existing");
  const std::wstring target = root + L"\\icon.png";
  ASSERT_TRUE(WriteWhole(target, Bytes(100000, 'x')));  // longer than the picture
  const Bytes png = TestImage(L"square.png");
  EXPECT_TRUE(SaveAsConfirmed(target, png));
  EXPECT_EQ(ReadWhole(target), png);
  EXPECT_EQ(Listing(root), L"icon.png;");
}

TEST(SavePicture, NoPictureTouchesNothing) {
  const std::wstring root = FreshFolder(L"empty");
  const std::wstring target = root + L"\\icon.png";
  const Bytes earlier{'k', 'e', 'e', 'p'};
  ASSERT_TRUE(WriteWhole(target, earlier));
  EXPECT_FALSE(SaveAsConfirmed(target, {}));
  EXPECT_FALSE(SaveAsConfirmed(target, {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'}));
  EXPECT_EQ(ReadWhole(target), earlier);
  EXPECT_FALSE(SaveAsConfirmed(root + L"\\new", {}));
  EXPECT_EQ(Listing(root), L"icon.png;");
}

TEST(SavePicture, WebpIsSavedAsALosslessPng) {
  for (const wchar_t* name : {L"square-lossless.webp", L"square-lossy.webp"}) {
    const Bytes webp = TestImage(name);
    ASSERT_TRUE(IsWebpFile(webp));
    const std::wstring root = FreshFolder(std::wstring(L"webp-") + name);
    ASSERT_TRUE(SaveAsConfirmed(root + L"\\icon", webp));
    const Bytes saved = ReadWhole(root + L"\\icon.png");
    EXPECT_TRUE(IsPngFile(saved));
    const Image32 expected = DecodeImage(webp);
    const Image32 actual = DecodeImage(saved);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(actual.width, expected.width);
    EXPECT_EQ(actual.height, expected.height);
    EXPECT_EQ(actual.pixels, expected.pixels) << FromWide(name);
  }
}

TEST(SavePicture, OtherFormatsAreConvertedToPng) {
  for (const wchar_t* name : {L"square.bmp", L"square.gif"}) {
    const Bytes picture = TestImage(name);
    const Bytes png = PictureAsPng(picture);
    ASSERT_TRUE(IsPngFile(png)) << FromWide(name);
    EXPECT_EQ(DecodeImage(png).pixels, DecodeImage(picture).pixels) << FromWide(name);
  }
}

TEST(SavePicture, AFileHeldOpenIsNotDestroyed) {
  const std::wstring root = FreshFolder(L"held");
  const std::wstring target = root + L"\\icon.png";
  const Bytes old = {9, 8, 7};
  ASSERT_TRUE(WriteWhole(target, old));
  const HANDLE held = ::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(SaveAsConfirmed(target, TestImage(L"square.png")));
  ::CloseHandle(held);
  EXPECT_EQ(ReadWhole(target), old);
  EXPECT_EQ(Listing(root), L"icon.png;") << "the temporary file is removed";
}

TEST(SavePicture, AFailedReplaceKeepsTheExistingFile) {
  const std::wstring root = FreshFolder(L"failed");
  // A folder of the target's name cannot be replaced by a file.
  const std::wstring folderTarget = root + L"\\busy.png";
  ASSERT_TRUE(::CreateDirectoryW(folderTarget.c_str(), nullptr));
  ASSERT_TRUE(WriteWhole(folderTarget + L"\\inside", {'1'}));
  EXPECT_FALSE(SaveAsConfirmed(folderTarget, TestImage(L"square.png")));
  EXPECT_EQ(ReadWhole(folderTarget + L"\\inside"), Bytes{'1'});
  // A read-only file is not replaced.
  const std::wstring readOnly = root + L"\\locked.png";
  ASSERT_TRUE(WriteWhole(readOnly, {'o', 'l', 'd'}));
  ASSERT_TRUE(::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(SaveAsConfirmed(readOnly, TestImage(L"square.png")));
  EXPECT_EQ(ReadWhole(readOnly), (Bytes{'o', 'l', 'd'}));
  ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(Listing(root), L"busy.png;locked.png;");  // no temporary left behind
}

}  // namespace
