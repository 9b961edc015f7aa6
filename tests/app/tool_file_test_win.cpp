// WriteHiddenFile: how the tools get into the run directory, including the cases a start-up
// cannot see from outside (a tool in use by a running import).
#include <gtest/gtest.h>

#include "app/tool_images_win.h"
#include "tests/app/test_support_win.h"

namespace {

const Bytes kImage{'M', 'Z', 1, 2, 3, 0, 4, 5};

bool NoTemporaryFilesIn(const TempDirectory& dir) {
  WIN32_FIND_DATAW data;
  const HANDLE find = ::FindFirstFileW((dir / L"*.tmp").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return true;
  ::FindClose(find);
  return false;
}

TEST(WriteHiddenFile, CreatesAHiddenFileWithExactlyTheBytes) {
  TempDirectory dir;
  ASSERT_TRUE(WriteHiddenFile(dir / L"pt.exe", kImage));
  EXPECT_EQ(ReadWholeFile(dir / L"pt.exe"), kImage);
  EXPECT_EQ(::GetFileAttributesW((dir / L"pt.exe").c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
            static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(NoTemporaryFilesIn(dir));
}

TEST(WriteHiddenFile, ReplacesDifferentBytesWhateverTheAttributes) {
  for (const DWORD attributes : {DWORD{FILE_ATTRIBUTE_NORMAL}, DWORD{FILE_ATTRIBUTE_HIDDEN},
                                 DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM}}) {
    SCOPED_TRACE(attributes);
    TempDirectory dir;
    const std::wstring path = dir / L"uz.exe";
    ASSERT_TRUE(WriteWholeFileForTest(path, Bytes(100, 'x')));
    ::SetFileAttributesW(path.c_str(), attributes);
    EXPECT_TRUE(WriteHiddenFile(path, kImage));
    EXPECT_EQ(ReadWholeFile(path), kImage);
    EXPECT_EQ(::GetFileAttributesW(path.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(NoTemporaryFilesIn(dir));
  }
}

TEST(WriteHiddenFile, ToolInUseStaysAsItWas) {
  TempDirectory dir;
  const std::wstring path = dir / L"pt.exe";
  const Bytes old(64, 'o');
  ASSERT_TRUE(WriteWholeFileForTest(path, old));
  // Held the way a running program holds its image: shared for reading only.
  const HANDLE held = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WriteHiddenFile(path, kImage));
  ::CloseHandle(held);
  EXPECT_EQ(ReadWholeFile(path), old);
  EXPECT_TRUE(NoTemporaryFilesIn(dir));
}

TEST(WriteHiddenFile, UnwritableDirectoryGivesFalse) {
  TempDirectory dir;
  EXPECT_FALSE(WriteHiddenFile(dir / L"missing\\pt.exe", kImage));
  EXPECT_EQ(::GetFileAttributesW((dir / L"missing").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
