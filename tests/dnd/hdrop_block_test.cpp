#include "dnd/hdrop_block.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

std::uint32_t Uint32At(const Bytes& block, std::size_t offset) {
  return static_cast<std::uint32_t>(block[offset]) | static_cast<std::uint32_t>(block[offset + 1]) << 8 |
         static_cast<std::uint32_t>(block[offset + 2]) << 16 | static_cast<std::uint32_t>(block[offset + 3]) << 24;
}

void ExpectHeader(const Bytes& block, std::uint32_t wide) {
  ASSERT_GE(block.size(), kDropFilesHeaderSize);
  EXPECT_EQ(Uint32At(block, 0), 20u);  // pFiles
  EXPECT_EQ(Uint32At(block, 4), 0u);   // pt.x
  EXPECT_EQ(Uint32At(block, 8), 0u);   // pt.y
  EXPECT_EQ(Uint32At(block, 12), 0u);  // fNC
  EXPECT_EQ(Uint32At(block, 16), wide);
}

TEST(DropFilesBlock, AnsiPathOfNBytesTakesNPlus22Bytes) {
  for (const std::string& path : {std::string("C:\\a.png"), std::string("D:\\run\\icon\\ic_launcher.png"), std::string(1500, 'x')}) {
    const Bytes name(path.begin(), path.end());
    const Bytes block = BuildDropFilesBlock({name}, false);
    ASSERT_EQ(block.size(), name.size() + 22) << path;
    ExpectHeader(block, 0);
    EXPECT_EQ(Bytes(block.begin() + 20, block.begin() + 20 + static_cast<std::ptrdiff_t>(name.size())), name);
    EXPECT_EQ(block[20 + name.size()], 0);
    EXPECT_EQ(block[21 + name.size()], 0);
  }
}

TEST(DropFilesBlock, NameBytesAreCopiedAsGiven) {
  const Bytes gbk = {'C', ':', '\\', 0xCD, 0xBC, 0xB1, 0xEA, '.', 'p', 'n', 'g'};  // C:\图标.png in code page 936
  const Bytes block = BuildDropFilesBlock({gbk}, false);
  EXPECT_EQ(Bytes(block.begin() + 20, block.end() - 2), gbk);
}

TEST(DropFilesBlock, EmptyDataGivesHeaderAndTwoZeroUnits) {
  const Bytes ansiEmptyName = BuildDropFilesBlock({Bytes{}}, false);
  ASSERT_EQ(ansiEmptyName.size(), 22u);
  ExpectHeader(ansiEmptyName, 0);
  EXPECT_EQ(ansiEmptyName[20], 0);
  EXPECT_EQ(ansiEmptyName[21], 0);
  EXPECT_EQ(BuildDropFilesBlock({}, false), ansiEmptyName);

  const Bytes wideEmpty = BuildDropFilesBlock({}, true);
  ASSERT_EQ(wideEmpty.size(), 24u);
  ExpectHeader(wideEmpty, 1);
  EXPECT_EQ(Bytes(wideEmpty.begin() + 20, wideEmpty.end()), Bytes(4, 0));
  EXPECT_EQ(BuildDropFilesBlock({Bytes{}}, true), wideEmpty);
}

TEST(DropFilesBlock, WideListHoldsEachNameInOrderAndEndsWithAnExtraZeroUnit) {
  const std::u16string first = u"C:\\下载\\a.apk";
  const std::u16string second = u"Z:\\b.apk";
  const Bytes block = BuildDropFilesBlock({Utf16ToLeBytes(first), Utf16ToLeBytes(second)}, true);
  ExpectHeader(block, 1);
  ASSERT_EQ(block.size(), 20 + 2 * (first.size() + 1 + second.size() + 1 + 1));
  std::u16string units;
  for (std::size_t i = 20; i < block.size(); i += 2) units.push_back(static_cast<char16_t>(block[i] | block[i + 1] << 8));
  EXPECT_EQ(units, first + u'\0' + second + u'\0' + u'\0');
}

TEST(DropFilesBlock, Utf16BytesAreLittleEndian) {
  EXPECT_EQ(Utf16ToLeBytes(u"A\u56fe"), (Bytes{0x41, 0x00, 0xFE, 0x56}));
  EXPECT_TRUE(Utf16ToLeBytes(u"").empty());
}

}  // namespace
