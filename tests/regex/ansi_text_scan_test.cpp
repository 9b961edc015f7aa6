#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "regex/ansi_text_scan.h"
#include "regex/regexp_case_fold.h"

namespace {

#define ZH_YINHAO "#\xD2\xFD\xBA\xC5"  // #引号
#define ZH_YIN "\xD2\xFD"              // 引
#define ZH_WEI "\xCE\xB2"              // 尾
#define ZH_TRAIL_P "\xC4\x70"          // 膒, whose trail byte is 'p'

TEST(QuotePlaceholder, ReplacedEverywhereAndOnlyWhole) {
  const struct {
    Text in;
    Text out;
  } cases[] = {
      {"", ""},
      {ZH_YINHAO, "\""},
      {"a" ZH_YINHAO ZH_YINHAO "b" ZH_YINHAO, "a\"\"b\""},
      {"#" ZH_YIN, "#" ZH_YIN},                           // only part of the placeholder
      {ZH_WEI ZH_YINHAO ZH_WEI, ZH_WEI "\"" ZH_WEI},      // Chinese around it stays intact
      {"\xB0" ZH_YINHAO, "\xB0" ZH_YINHAO},               // the '#' is the second byte of a character
      {"x\xD2", "x\xD2"},                                 // a lone lead byte at the end
  };
  for (const auto& c : cases) EXPECT_EQ(ReplaceQuotePlaceholder(c.in), c.out) << c.in;
}

TEST(FindTextFrom, StepsOverDoubleByteCharacters) {
  EXPECT_EQ(FindTextFrom(ZH_TRAIL_P "p", "p", 0, false), 2);        // not the trail byte at 1
  EXPECT_EQ(FindTextFrom(ZH_TRAIL_P "P", "p", 0, true), 2);
  EXPECT_EQ(FindTextFrom(ZH_TRAIL_P "P", "p", 0, false), -2);
  EXPECT_EQ(FindTextFrom("a" ZH_WEI "b" ZH_WEI, ZH_WEI, 2, false), 4);
  EXPECT_EQ(FindTextFrom("ab", "", 1, false), 1);
  EXPECT_EQ(FindTextFrom("ab", "", 2, false), 2);
  EXPECT_EQ(FindTextFrom("ab", "b", 3, false), -2);
  EXPECT_EQ(FindTextFrom("abc", "bcd", 0, false), -2);
  // A needle ending in a lead byte does not match the first half of a character.
  EXPECT_EQ(FindTextFrom("a" ZH_WEI, "a\xCE", 0, false), -2);
}

TEST(CaseFold, MapsLettersBothWays) {
  const struct {
    char16_t lower;
    char16_t upper;
  } pairs[] = {{u'a', u'A'},     {u'z', u'Z'},     {0x00E9, 0x00C9}, {0x00FF, 0x0178}, {0x0101, 0x0100},
               {0x01CE, 0x01CD}, {0x01DC, 0x01DB}, {0x03B1, 0x0391}, {0x03C9, 0x03A9}, {0x0430, 0x0410},
               {0x0451, 0x0401}, {0x2170, 0x2160}, {0xFF41, 0xFF21}, {0xFF5A, 0xFF3A}};
  for (const auto& p : pairs) {
    EXPECT_EQ(CaseFoldUpper(p.lower), p.upper) << static_cast<int>(p.lower);
    EXPECT_EQ(CaseFoldLower(p.upper), p.lower) << static_cast<int>(p.upper);
    EXPECT_EQ(CaseFoldUpper(p.upper), p.upper);
  }
  EXPECT_EQ(CaseFoldUpper(0x03C2), 0x03A3);  // final sigma
  EXPECT_EQ(CaseFoldLower(0x03A3), 0x03C3);
  EXPECT_EQ(CaseFoldUpper(0x0131), 0x0131);  // dotless i never becomes ASCII I
  EXPECT_EQ(CaseFoldUpper(u'1'), u'1');
  EXPECT_EQ(CaseFoldUpper(0x4E2D), 0x4E2D);
  EXPECT_EQ(CaseFoldUpper(0x00F7), 0x00F7);
}

}  // namespace
