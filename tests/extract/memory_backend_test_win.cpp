// Mode 2 against real zlibwapi.dll: built archives for each way an entry can be damaged, and the
// fixture packages compared with Python's zipfile.
#include <gtest/gtest.h>

#include "app/module_state.h"
#include "extract/backends.h"
#include "tests/extract/test_env_win.h"
#include "tests/extract/zip_builder.h"

namespace {

class MemoryBackend : public ::testing::Test {
 protected:
  void SetUp() override { ResetWindow(run.text()); }
  TempRunDirectory run;
};

TEST_F(MemoryBackend, ReadZipEntryCases) {
  const Bytes icon = AsBytes("\x89PNG\r\n\x1a\n pretend icon");
  const Bytes other = AsBytes("another icon");
  struct Case {
    const char* name;
    std::vector<ZipEntrySpec> entries;
    const char* lookFor;
    Bytes expected;
  };
  const std::vector<Case> cases = {
      {"found among others", {{"a.txt", other}, {"res/ic.png", icon}, {"z.txt", other}}, "res/ic.png", icon},
      {"names compare case-sensitively", {{"res/IC.png", icon}}, "res/ic.png", {}},
      {"no such entry", {{"res/ic.png", icon}}, "res/ic.webp", {}},
      {"prefix of a longer name", {{"res/ic.png.bak", icon}}, "res/ic.png", {}},
      {"duplicate name: the first in directory order", {{"res/ic.png", icon}, {"res/ic.png", other}}, "res/ic.png", icon},
      {"size 0", {{"res/ic.png", {}}}, "res/ic.png", {}},
      {"CRC error", {{"res/ic.png", icon, Crc32(icon) ^ 1u}}, "res/ic.png", {}},
      {"absurd declared size", {{"res/ic.png", icon, std::nullopt, 0xF0000000u}}, "res/ic.png", {}},
      {"declared just past the cap", {{"res/ic.png", icon, std::nullopt, static_cast<std::uint32_t>(kMaxEntryBytes + 1)}},
       "res/ic.png", {}},
      {"declared larger than the data", {{"res/ic.png", icon, std::nullopt, 1000u}}, "res/ic.png", {}},
      {"declared smaller than the data", {{"res/ic.png", icon, std::nullopt, 4u}}, "res/ic.png", {}},
      {"name longer than 255 bytes", {{"res/" + std::string(300, 'n') + ".png", icon}},
       nullptr, icon},
  };
  for (const Case& c : cases) {
    const Bytes zip = BuildStoredZip(c.entries);
    const Text name = c.lookFor ? Text(c.lookFor) : c.entries.front().name;
    EXPECT_EQ(ReadZipEntry(zip, name), c.expected) << c.name;
  }
}

TEST_F(MemoryBackend, NotAZipIsEmpty) {
  EXPECT_TRUE(ReadZipEntry(AsBytes("this is a text file named .apk\n"), "res/ic.png").empty());
  EXPECT_TRUE(ReadZipEntry(Bytes{}, "res/ic.png").empty());
  EXPECT_TRUE(ReadZipEntry(nullptr, 0, "res/ic.png").empty());
}

struct FixtureCase {
  const wchar_t* fixture;
  const char* entry;
  bool readable;
};

// Entries as the icon lookup gives them; `readable` false: the package damages that entry.
const FixtureCase kFixtures[] = {
    {L"png_densities", "res/mipmap-xxxhdpi-v4/ic_launcher.png", true},
    {L"webp_only", "res/mipmap-xhdpi-v4/ic_launcher.webp", true},
    {L"drawable_only", "res/drawable-hdpi-v4/icon.png", true},
    {L"xml_last", "res/mipmap-hdpi-v4/ic_launcher.png", true},
    {L"root_icon", "icon.png", true},
    {L"duplicate_entry", "res/mipmap-mdpi-v4/ic_launcher.png", true},
    {L"crc_error", "res/mipmap-mdpi-v4/ic_launcher.png", false},
    {L"huge_declared_size", "res/mipmap-mdpi-v4/ic_launcher.png", false},
    {L"not_zip", "res/mipmap-mdpi-v4/ic_launcher.png", false},
    {L"empty", "res/mipmap-mdpi-v4/ic_launcher.png", false},
    {L"truncated", "res/mipmap-mdpi-v4/ic_launcher.png", false},
};

TEST_F(MemoryBackend, FixturesMatchZipfile) {
  currentIconPath = "unchanged";
  for (const FixtureCase& c : kFixtures) {
    const std::wstring apk = run.AddFixture(std::wstring(c.fixture) + L".apk");
    const Bytes bytes = ExtractInMemory(ToText(apk), c.entry);
    if (c.readable) {
      const Bytes expected = ExpectedEntry(c.fixture);
      ASSERT_FALSE(expected.empty()) << "no reference bytes for " << ToText(c.fixture);
      EXPECT_EQ(bytes, expected) << ToText(c.fixture);
    } else {
      EXPECT_TRUE(bytes.empty()) << ToText(c.fixture);
    }
  }
  EXPECT_EQ(currentIconPath, "unchanged");
  EXPECT_FALSE(FileExists(run.path() + L"\\icon"));  // mode 2 writes nothing
}

TEST_F(MemoryBackend, MissingPackageIsEmpty) {
  EXPECT_TRUE(ExtractInMemory(run.text() + "\\absent.apk", "res/ic.png").empty());
  EXPECT_TRUE(ExtractInMemory("", "res/ic.png").empty());
}

}  // namespace
