#include "util/console_command_line.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/util/hex.h"
#include "util/codepage.h"
#include "util/module_state.h"

namespace {

class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override { consoleCodePage = 936; }
};

TEST_F(CommandLineTest, InterpreterFollowsTheVersionWord) {
  const struct {
    std::int32_t versionWord;
    const char* suffix;
  } cases[] = {
      {0, "\\command.com"},      // version unknown
      {0x400, "\\command.com"},  // Windows NT 4
      {0x500, "\\command.com"},  // Windows 2000
      {0x501, "\\cmd.exe"},      // Windows XP
      {0x601, "\\cmd.exe"},
      {0xA00, "\\cmd.exe"},
  };
  for (const auto& c : cases) EXPECT_EQ(InterpreterSuffix(c.versionWord), c.suffix) << std::hex << c.versionWord;
}

TEST_F(CommandLineTest, InterpreterPathNeverOutgrowsItsBuffer) {
  const auto folderOf = [](std::size_t units) { return TextToWide("C:" + Text(units - 2, 'x'), true); };
  const struct {
    std::size_t folderUnits;
    std::int32_t versionWord;
    bool fits;
  } cases[] = {
      {247, 0x500, true},   // 247 + "\command.com" + terminator = 260 units
      {248, 0x500, false},
      {251, 0xA00, true},   // 251 + "\cmd.exe" + terminator = 260 units
      {252, 0xA00, false},
      {4000, 0xA00, false},
  };
  for (const auto& c : cases) {
    const WideText path = InterpreterPath(folderOf(c.folderUnits), c.versionWord);
    EXPECT_EQ(!path.empty(), c.fits) << c.folderUnits;
    if (c.fits) {
      EXPECT_EQ(path.size(), kInterpreterPathBytes);
    }
  }
  EXPECT_EQ(ToHex(InterpreterPath(TextToWide("C:\\W", true), 0xA00)),
            ToHex(TextToWide("C:\\W\\cmd.exe", false)));
  EXPECT_TRUE(InterpreterPath({}, 0xA00).empty()) << "no folder, no relative \\cmd.exe";
}

TEST_F(CommandLineTest, CommandLineIsPrefixedAndZeroFilled) {
  const WideText line = BuildCommandLine(TextToWide("dir", false));
  ASSERT_EQ(line.size(), kCommandLineBytes);
  EXPECT_EQ(ToHex(Bytes(line.begin(), line.begin() + 16)), ToHex(TextToWide(" /c dir", true)) + " 00 00");
  EXPECT_EQ(std::count(line.begin() + 14, line.end(), 0), static_cast<std::ptrdiff_t>(kCommandLineBytes - 14));
  EXPECT_TRUE(CommandLineFits(line));
}

TEST_F(CommandLineTest, LongCommandLinesAreLeftUnfilledAndDoNotFit) {
  // " /c " (4 units) + command + terminator.
  const struct {
    std::size_t commandUnits;
    std::size_t lineBytes;
    bool fits;
  } cases[] = {
      {32762, kCommandLineBytes, true},  // exactly 32767 units with the terminator
      {32763, 65536, false},
      {40000, 80010, false},
  };
  for (const auto& c : cases) {
    const WideText line = BuildCommandLine(TextToWide(Text(c.commandUnits, 'a'), false));
    EXPECT_EQ(line.size(), c.lineBytes) << c.commandUnits;
    EXPECT_EQ(CommandLineFits(line), c.fits) << c.commandUnits;
  }
}

}  // namespace
