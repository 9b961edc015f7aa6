// One table for both builds: natively it checks the portable conversions, under Wine the Win32 ones.
#include "util/codepage.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/util/hex.h"
#include "util/module_state.h"

namespace {

// Double-byte codes (lead 0x81-0xFE, trail 0x40-0xFE) that Windows' code page 936 assigns.
constexpr int kAssignedDoubleByteCodes = 23940;

struct Conversion {
  const char* name;
  std::function<Bytes(const Bytes&)> run;
};

const Conversion kAnsiToWideGbk{"AnsiToWide(936)", [](const Bytes& b) { return AnsiToWide(b, 936); }};
const Conversion kAnsiToWideUtf8{"AnsiToWide(65001)", [](const Bytes& b) { return AnsiToWide(b, 65001); }};
const Conversion kWideToAnsiGbk{"WideToAnsi(936)", [](const Bytes& b) { return WideToAnsi(b, 936); }};
const Conversion kWideToAnsiUtf8{"WideToAnsi(65001)", [](const Bytes& b) { return WideToAnsi(b, 65001); }};
const Conversion kCutAtWideNul{"CutAtWideNul", [](const Bytes& b) { return CutAtWideNul(b); }};
const Conversion kTextToWide{"TextToWide", [](const Bytes& b) { return TextToWide(BytesToText(b), false); }};
const Conversion kTextToWideStripped{"TextToWide(strip)", [](const Bytes& b) { return TextToWide(BytesToText(b), true); }};
const Conversion kUtf8ToConsoleText{"Utf8ToConsoleText",
                                    [](const Bytes& b) { return TextToBytes(Utf8ToConsoleText(b)); }};

struct Case {
  const Conversion* conversion;
  const char* input;
  const char* expected;
  const char* why;
};

// Expected bytes are what Windows' conversions give under Wine (flags 0, length -1).
const Case kCases[] = {
    // Multibyte -> UTF-16 in code page 936.
    {&kAnsiToWideGbk, "", "", "empty input gives empty, not a lone terminator"},
    {&kAnsiToWideGbk, "00 41", "", "a leading zero byte makes it empty"},
    {&kAnsiToWideGbk, "41", "41 00 00 00", "one letter plus the terminator"},
    {&kAnsiToWideGbk, "41 00 42", "41 00 00 00", "stops at the first zero byte"},
    {&kAnsiToWideGbk, "D6 D0 CE C4", "2D 4E 87 65 00 00", "a Chinese word"},
    {&kAnsiToWideGbk, "C4 E3 BA C3 A3 AC 41 50 4B", "60 4F 7D 59 0C FF 41 00 50 00 4B 00 00 00",
     "mixed double-byte and ASCII"},
    {&kAnsiToWideGbk, "81 5C 5C 41", "57 4E 5C 00 41 00 00 00", "trail byte 0x5C is no backslash; the next one is"},
    {&kAnsiToWideGbk, "81 40", "02 4E 00 00", "trail byte '@' in the ASCII range"},
    {&kAnsiToWideGbk, "80", "AC 20 00 00", "0x80 is the euro sign"},
    {&kAnsiToWideGbk, "FF", "F5 F8 00 00", "0xFF maps to a private-use character"},
    {&kAnsiToWideGbk, "41 81", "41 00 3F 00 00 00", "a lead byte before the end becomes '?'"},
    {&kAnsiToWideGbk, "81 00 41", "3F 00 00 00", "a lead byte before a zero byte becomes '?' and the text ends"},
    {&kAnsiToWideGbk, "81 30 41", "3F 00 41 00 00 00", "a bad trail byte goes into one '?' with its lead"},
    {&kAnsiToWideGbk, "81 7F", "3F 00 00 00", "0x7F is no trail byte"},
    {&kAnsiToWideGbk, "81 FF 41", "3F 00 41 00 00 00", "0xFF is no trail byte"},
    {&kAnsiToWideGbk, "AA A1 A1 40", "00 E0 C6 E4 00 00", "user-defined areas map to private use"},
    {&kAnsiToWideGbk, "A2 AB", "66 E7 00 00", "scattered unassigned codes map to private use too"},
    // Multibyte -> UTF-16 in UTF-8.
    {&kAnsiToWideUtf8, "E4 B8 AD E6 96 87", "2D 4E 87 65 00 00", "a Chinese word"},
    {&kAnsiToWideUtf8, "F0 9F 98 80", "3D D8 00 DE 00 00", "a character outside the BMP becomes a surrogate pair"},
    {&kAnsiToWideUtf8, "EF BB BF 41", "FF FE 41 00 00 00", "a byte-order mark is kept"},
    {&kAnsiToWideUtf8, "80 FF", "FD FF FD FF 00 00", "stray bytes become U+FFFD each"},
    {&kAnsiToWideUtf8, "C0 AF", "FD FF FD FF 00 00", "an overlong pair becomes two replacements"},
    {&kAnsiToWideUtf8, "ED A0 80", "FD FF FD FF 00 00", "an encoded surrogate becomes two replacements"},
    {&kAnsiToWideUtf8, "F4 90 80 80", "FD FF FD FF FD FF 00 00", "beyond U+10FFFF"},
    {&kAnsiToWideUtf8, "E4 B8 41", "FD FF 41 00 00 00", "a cut sequence before ASCII becomes one replacement"},
    {&kAnsiToWideUtf8, "61 E4", "61 00 FD FF 00 00", "a cut sequence at the end still leaves the terminator"},
    {&kAnsiToWideUtf8, "41 00 E4 B8 AD", "41 00 00 00", "stops at the first zero byte"},
    // UTF-16 -> code page 936.
    {&kWideToAnsiGbk, "", "", "empty input"},
    {&kWideToAnsiGbk, "00 00 41 00", "", "a leading zero unit makes it empty, whatever follows"},
    {&kWideToAnsiGbk, "41 00 00 00 42 00", "41", "stops at the first zero unit"},
    {&kWideToAnsiGbk, "41 00 42", "41", "a trailing odd byte is ignored"},
    {&kWideToAnsiGbk, "2D 4E 87 65", "D6 D0 CE C4", "a Chinese word"},
    {&kWideToAnsiGbk, "57 4E 5C 00", "81 5C 5C", "a character whose trail byte is 0x5C"},
    {&kWideToAnsiGbk, "AC 20 00 E0", "80 AA A1", "euro sign and private use go back to their codes"},
    {&kWideToAnsiGbk, "3D D8 00 DE", "3F 3F", "an emoji: each surrogate becomes the default character"},
    {&kWideToAnsiGbk, "41 00 3D D8 42 00", "41 3F 42", "a lone surrogate becomes the default character"},
    {&kWideToAnsiGbk, "01 0E A9 20 FD FF", "3F 3F 3F", "characters the code page lacks"},
    {&kWideToAnsiGbk, "A5 00 E2 00 00 F9", "A3 A4 61 D8 4D", "best-fit replacements"},
    // UTF-16 -> UTF-8.
    {&kWideToAnsiUtf8, "2D 4E 87 65", "E4 B8 AD E6 96 87", "a Chinese word"},
    {&kWideToAnsiUtf8, "3D D8 00 DE", "F0 9F 98 80", "a surrogate pair"},
    {&kWideToAnsiUtf8, "61 00 00 DE 62 00", "61 EF BF BD 62", "a lone low surrogate becomes U+FFFD"},
    // Cutting at the first zero unit.
    {&kCutAtWideNul, "41 00 42 00 00 00 43 00", "41 00 42 00", "nothing after the first zero unit"},
    {&kCutAtWideNul, "41 00 42", "41 00", "a trailing odd byte is never kept"},
    {&kCutAtWideNul, "00 00 41 00", "", "a leading zero unit gives empty"},
    {&kCutAtWideNul, "41", "", "fewer than two bytes give empty"},
    {&kCutAtWideNul, "00 41 42 00", "00 41 42 00", "zero bytes inside units are no zero units"},
    // Text -> UTF-16 in consoleCodePage.
    {&kTextToWide, "41", "41 00 00 00", "with terminator"},
    {&kTextToWideStripped, "41", "41 00", "without terminator"},
    {&kTextToWide, "", "", "empty text, no lone terminator"},
    {&kTextToWideStripped, "", "", "empty text, stripped"},
    {&kTextToWideStripped, "D6 D0 CE C4 2E 61 70 6B", "2D 4E 87 65 2E 00 61 00 70 00 6B 00", "a Chinese file name"},
    // Tool output: UTF-8 -> Text in consoleCodePage.
    {&kUtf8ToConsoleText, "E4 B8 AD E6 96 87", "D6 D0 CE C4", "a Chinese word"},
    {&kUtf8ToConsoleText, "69 63 6F 6E 2D E5 9B BE 2E 70 6E 67", "69 63 6F 6E 2D CD BC 2E 70 6E 67", "mixed"},
    {&kUtf8ToConsoleText, "F0 9F 98 80 41", "3F 3F 41", "an emoji becomes default characters"},
    {&kUtf8ToConsoleText, "E0 B8 81", "3F", "a Thai letter is not in code page 936"},
    {&kUtf8ToConsoleText, "FF 41", "3F 41", "an undecodable byte ends as the default character"},
    {&kUtf8ToConsoleText, "41 00 42", "41", "stops at the first zero byte"},
    {&kUtf8ToConsoleText, "", "", "empty"},
};

class CodePageTest : public ::testing::Test {
 protected:
  void SetUp() override { consoleCodePage = 936; }
};

TEST_F(CodePageTest, TableOfCases) {
  for (const Case& c : kCases) {
    const Bytes input = Hex(c.input);
    const Bytes before = input;
    const Bytes result = c.conversion->run(input);
    EXPECT_EQ(ToHex(result), ToHex(Hex(c.expected))) << c.conversion->name << " of [" << c.input << "]: " << c.why;
    EXPECT_EQ(input, before) << c.conversion->name << " must leave its input alone";
  }
}

// Every assigned double-byte code survives the trip to UTF-16 and back, and the count of assigned
// codes is the platform table's.
TEST_F(CodePageTest, EveryDoubleByteCodeRoundTrips) {
  int assigned = 0;
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      const Bytes code{static_cast<std::uint8_t>(lead), static_cast<std::uint8_t>(trail)};
      const WideText wide = AnsiToWide(code, 936);
      ASSERT_EQ(wide.size(), 4u) << ToHex(code);
      if (wide[0] == '?' && wide[1] == 0) continue;
      ++assigned;
      EXPECT_EQ(ToHex(WideToAnsi(wide, 936)), ToHex(code));
    }
  }
  EXPECT_EQ(assigned, kAssignedDoubleByteCodes);
}

TEST_F(CodePageTest, ConvenienceFormsUseConsoleCodePage) {
  EXPECT_EQ(TextToUtf16("\xD6\xD0\xCE\xC4.apk"), u"\u4E2D\u6587.apk");
  EXPECT_EQ(TextToUtf16(std::string_view("A\0B", 3)), u"A");
  EXPECT_EQ(TextToUtf16(""), u"");
  EXPECT_EQ(Utf16ToText(u"\u4E2D\u6587.apk"), "\xD6\xD0\xCE\xC4.apk");
  EXPECT_EQ(Utf16ToText(u"\U0001F600"), "??");
  EXPECT_EQ(Utf16ToText(u""), "");
}

}  // namespace
