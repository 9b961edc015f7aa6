#include "badging/zip_archive.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "badging/apk_error.h"
#include "byte_builders.h"

namespace {

using apk::ApkError;
using apk::MemoryFile;
using apk::ZipArchive;
using apktest::Bytes;

ZipArchive Open(Bytes bytes) { return ZipArchive(std::make_unique<MemoryFile>(std::move(bytes))); }

Bytes Read(const ZipArchive& zip, const char* name, std::size_t cap) {
  const apk::EntryBytes data = zip.read(*zip.find(name), cap);
  return Bytes(data.begin(), data.end());
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(ZipArchive, ReadsStoredAndDeflatedEntriesUnderEveryEndRecordLayout) {
  const Bytes big(100000, 'x');
  struct Case {
    const char* what;
    apktest::ZipOptions options;
  } cases[] = {
      {"plain", {}},
      {"comment", {"a comment that mentions PK\x05\x06 inside it", false}},
      {"zip64", {"", true}},
      {"zip64 with comment", {"zip64 comment", true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ZipArchive zip = Open(apktest::BuildZip(
        {{"stored.txt", Text("hello"), false}, {"deflated.bin", big, true}, {"empty", {}, false}}, c.options));
    ASSERT_EQ(zip.entries().size(), 3u);
    ASSERT_NE(zip.find("stored.txt"), nullptr);
    EXPECT_EQ(Read(zip, "stored.txt", 1000), Text("hello"));
    EXPECT_EQ(Read(zip, "deflated.bin", 1 << 20), big);
    EXPECT_TRUE(zip.read(*zip.find("empty"), 10).empty());
    EXPECT_EQ(zip.find("missing"), nullptr);
    EXPECT_EQ(zip.find("STORED.TXT"), nullptr);
  }
}

TEST(ZipArchive, RefusesBrokenArchives) {
  const Bytes good = apktest::BuildZip({{"a", Text("abc"), true}});
  const std::size_t end = good.size() - 22;
  struct Case {
    const char* what;
    Bytes bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"empty file", {}});
  cases.push_back({"not a zip", Text("this is not a zip archive at all, not even close")});
  cases.push_back({"truncated end record", Bytes(good.begin(), good.end() - 5)});
  cases.push_back({"truncated before the central directory", Bytes(good.begin(), good.begin() + 20)});
  Bytes badOffset = good;
  apktest::Set32(badOffset, end + 16, 0x7FFFFFF0u);
  cases.push_back({"central directory offset past the end", badOffset});
  Bytes badSize = good;
  apktest::Set32(badSize, end + 12, 0xFFFFFFF0u);
  cases.push_back({"central directory size past the end", badSize});
  Bytes absurdCount = good;
  absurdCount[end + 10] = 0xFF;
  absurdCount[end + 11] = 0xFF;
  cases.push_back({"entry count larger than the directory holds", absurdCount});
  Bytes badSignature = good;
  apktest::Set32(badSignature, good.size() - 22 - (46 + 1), 0x12345678u);
  cases.push_back({"bad central directory signature", badSignature});
  cases.push_back({"duplicate names", apktest::BuildZip({{"a", Text("1")}, {"a", Text("2")}})});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_THROW(Open(c.bytes), ApkError);
  }
}

TEST(ZipArchive, RefusesEntriesThatLieAboutThemselves) {
  // Varied bytes, so that the compressed stream is long enough to damage in the middle.
  Bytes payload(5000);
  std::uint32_t seed = 12345;
  for (auto& b : payload) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>((seed >> 16) % 7 + 'a');
  }
  const Bytes good = apktest::BuildZip({{"a", payload, true}});
  const std::size_t central = good.size() - 22 - (46 + 1);
  struct Case {
    const char* what;
    std::size_t at;
    std::uint32_t value;
  } cases[] = {
      {"declared size beyond the cap", central + 24, 0x7FFFFFFFu},
      {"declared size smaller than the stream", central + 24, 10},
      {"declared size larger than the stream", central + 24, 6000},
      {"crc mismatch", central + 16, 0xDEADBEEFu},
      {"local header offset past the data", central + 42, static_cast<std::uint32_t>(central - 10)},
      {"compressed size past the directory", central + 20, 0x00FFFFFFu},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes bytes = good;
    apktest::Set32(bytes, c.at, c.value);
    const ZipArchive zip = Open(bytes);
    EXPECT_THROW((void)zip.read(zip.entries().at(0), 1 << 20), ApkError);
  }
  // A corrupt deflate stream is an error too, not a crash or a hang.
  Bytes corrupt = good;
  ASSERT_GT(corrupt.size(), 31u + 40u);
  std::fill(corrupt.begin() + 31, corrupt.begin() + 31 + 40, std::uint8_t{0xFF});
  const ZipArchive zip = Open(corrupt);
  EXPECT_THROW((void)zip.read(zip.entries().at(0), 1 << 20), ApkError);
}

TEST(ZipArchive, HonoursTheCallersSizeCap) {
  const ZipArchive zip = Open(apktest::BuildZip({{"a", Bytes(4096, 1), true}}));
  EXPECT_THROW((void)zip.read(zip.entries().at(0), 4095), ApkError);
  EXPECT_EQ(zip.read(zip.entries().at(0), 4096).size(), 4096u);
}

}  // namespace
