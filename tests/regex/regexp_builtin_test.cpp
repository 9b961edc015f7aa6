// The built-in engine's own limits: what it refuses, and that it stays linear on hostile input.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <iostream>
#include <string>

#include "regex/regexp_wrapper.h"

namespace {

const Text kPngPattern = "application-icon(.*?):'(.*?).png'";

TEST(BuiltinRegExp, RefusesWhatItCannotRunInLinearTime) {
  const Text refused[] = {
      "(a)\\1",                              // back-reference
      "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)\\10",  // two-digit back-reference
      "a(?=b)",                              // lookahead
      "a(?!b)",                              // negative lookahead
      "(?<x>a)",                             // not in this dialect
      std::string(300, '(') + std::string(300, ')'),  // nesting beyond the bound
      "a{70000}",                            // program beyond the bound
      "(?:a{1000}){1000}",
      "(a{2,1})",                            // reversed bounds
      "a{1}{2}",                             // quantified quantifier
      "\\",                                  // trailing backslash
      "[z-a]",                               // reversed range
  };
  for (const Text& pattern : refused) {
    RegExpWrapper re(RegExpEngineKind::BuiltIn);
    EXPECT_FALSE(re.Search(pattern, "aaaa abc")) << pattern;
    EXPECT_EQ(re.MatchCount(), 0) << pattern;
    EXPECT_EQ(re.GetPattern(), pattern);
  }
}

TEST(BuiltinRegExp, LegacyEscapesAndLiteralBraces) {
  const struct {
    Text pattern;
    Text subject;
    Text match;
  } cases[] = {
      {"\\1", "a\x01z", "\x01"},       // no group 1: an octal escape
      {"(a)\\2", "a\x02", "a\x02"},    // no group 2 either
      {"\\8", "x8", "8"},              // not octal: the digit
      {"\\101", "zA", "A"},            // octal 101
      {"[\\1]", "\x01", "\x01"},       // never a back-reference inside a class
      {"a{", "a{", "a{"},              // a brace that starts no quantifier
      {"a{x}", "a{x}", "a{x}"},
      {"a}", "a}", "a}"},
      {"]", "]", "]"},
      {"\\cJ", "\n", "\n"},            // control letter
      {"\\q", "q", "q"},               // identity escape
      {"[\\b]", "a\bb", "\b"},         // backspace inside a class
      {"[\\d-z]+", "-z9", "-z9"},      // dash after a class escape is literal
      {"[^]", "\n", "\n"},             // matches anything
  };
  for (const auto& c : cases) {
    RegExpWrapper re(RegExpEngineKind::BuiltIn);
    EXPECT_TRUE(re.Search(c.pattern, c.subject)) << c.pattern;
    EXPECT_EQ(re.MatchText(1), c.match) << c.pattern;
  }
}

TEST(BuiltinRegExp, CaseFoldingBeyondAscii) {
  RegExpWrapper re(RegExpEngineKind::BuiltIn);
  // ａｂｃ against ＡＢＣ (full-width, code page 936), Greek and Cyrillic.
  ASSERT_TRUE(re.Search("\xA3\xE1\xA3\xE2\xA3\xE3", "x\xA3\xC1\xA3\xC2\xA3\xC3"));
  EXPECT_EQ(re.MatchCount(), 1);
  ASSERT_TRUE(re.Search("[\xA6\xC1-\xA6\xD8]+", "\xA6\xA1\xA6\xA2"));  // [α-ω]+ against ΑΒ
  EXPECT_EQ(re.MatchText(1), "\xA6\xA1\xA6\xA2");
  ASSERT_TRUE(re.Search("\xA7\xD1", "\xA7\xA1"));  // а against А
  EXPECT_EQ(re.MatchCount(), 1);
  ASSERT_TRUE(re.Search("\xA7\xD1", "\xA7\xA1", true));
  EXPECT_EQ(re.MatchCount(), 0);
}

TEST(BuiltinRegExp, CapturesInRepeatsKeepTheLastIteration) {
  RegExpWrapper re(RegExpEngineKind::BuiltIn);
  ASSERT_TRUE(re.Search("(?:(\\w)\\.)+", "a.b.c."));
  EXPECT_EQ(re.MatchText(1), "a.b.c.");
  EXPECT_EQ(re.SubMatchText(1, 1), "c");
  ASSERT_TRUE(re.Search("(a*)*b", "aab"));
  EXPECT_EQ(re.MatchText(1), "aab");
  ASSERT_TRUE(re.Search("(a*)+", "b"));
  EXPECT_EQ(re.MatchCount(), 2);
  EXPECT_EQ(re.SubMatchText(1, 1), "");
}

// Patterns that take exponential time in a backtracking engine finish at once here.
TEST(BuiltinRegExp, HostilePatternsStayLinear) {
  const std::string as(200'000, 'a');
  const struct {
    Text pattern;
    std::int32_t matches;
  } cases[] = {
      {"(a*)*b", 0},
      {"(a|aa)+c", 0},
      {"(a+a+)+y", 0},
      {"(?:a?){25}a{25}b", 0},
      {"^(a|a?)+$", 1},
  };
  for (const auto& c : cases) {
    RegExpWrapper re(RegExpEngineKind::BuiltIn);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(re.Search(c.pattern, as)) << c.pattern;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "[ timing   ] " << c.pattern << " over 200000 a: " << seconds << " s\n";
    EXPECT_EQ(re.MatchCount(), c.matches) << c.pattern;
  }
}

// Global runs whose searches each look to the end of the subject would be quadratic; past the step
// budget the run fails instead of hanging.
TEST(BuiltinRegExp, QuadraticGlobalRunIsCutOff) {
  RegExpWrapper re(RegExpEngineKind::BuiltIn);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(re.Search("x*y|x", std::string(100'000, 'x')));
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::cout << "[ timing   ] x*y|x over 100000 x, cut off after " << seconds << " s\n";
  EXPECT_EQ(re.MatchCount(), 0);
  // The same pattern over a subject the budget covers works.
  ASSERT_TRUE(re.Search("x*y|x", std::string(2'000, 'x') + "y"));
  EXPECT_EQ(re.MatchCount(), 1);
  ASSERT_TRUE(re.Search("x*y|x", std::string(2'000, 'x')));
  EXPECT_EQ(re.MatchCount(), 2'000);
}

// Builds `bytes` of one badging-like line: icon entries that never end in png', optionally followed
// by one that does.
Text HostileLine(std::size_t bytes, bool matchAtEnd) {
  const Text unit = "application-icon-160:'res/drawable/" "\xCD\xBC\xB1\xEA" "icon.xml' ";
  Text subject;
  subject.reserve(bytes + 64);
  while (subject.size() + unit.size() <= bytes) subject += unit;
  if (matchAtEnd) subject += "application-icon-640:'res/z.png'";
  return subject;
}

double TimeSearch(const Text& subject, std::int32_t expectedMatches, Text* lastEntry) {
  RegExpWrapper re(RegExpEngineKind::BuiltIn);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(re.Search(kPngPattern, subject));
  EXPECT_EQ(re.MatchCount(), expectedMatches);
  if (lastEntry) *lastEntry = re.SubMatchText(re.MatchCount(), 2);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(BuiltinRegExp, ProgramPatternIsLinearOnTenMegabyteLine) {
  constexpr std::size_t kSmall = 1'000'000;
  constexpr std::size_t kLarge = 10'000'000;
  for (const bool matchAtEnd : {false, true}) {
    const std::int32_t expected = matchAtEnd ? 1 : 0;
    Text entry;
    const double small = TimeSearch(HostileLine(kSmall, matchAtEnd), expected, nullptr);
    const double large = TimeSearch(HostileLine(kLarge, matchAtEnd), expected, &entry);
    if (matchAtEnd) {
      // Leftmost-first: the match starts at the first entry and its lazy group 2 runs to the png.
      EXPECT_EQ(entry.substr(0, 4), "res/");
      EXPECT_EQ(entry.substr(entry.size() - 5), "res/z");
    }
    const double ratio = large / std::max(small, 1e-6);
    std::cout << "[ timing   ] " << (matchAtEnd ? "match at end" : "no match") << ": 1 MB " << small << " s, 10 MB "
              << large << " s, ratio " << ratio << "\n";
    RecordProperty(matchAtEnd ? "ratio_match_at_end" : "ratio_no_match", std::to_string(ratio));
    EXPECT_LT(ratio, 30.0);
  }
}

}  // namespace
