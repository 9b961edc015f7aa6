// Which engine the wrapper sits on, and where the system's VBScript.RegExp goes beyond the built-in one.
#include <gtest/gtest.h>

#include "regex/regexp_engine.h"
#include "regex/regexp_wrapper.h"

namespace {

#ifdef _WIN32

TEST(SystemRegExp, VBScriptObjectCanBeCreated) {
  // Wine's vbscript.dll implements it; a Windows without VBScript would fail here.
  const std::unique_ptr<RegExpPlatformScope> com = EnterRegExpPlatform();
  EXPECT_NE(CreateSystemRegExpEngine(), nullptr);
}

TEST(SystemRegExp, AutomaticUsesTheSystemObject) {
  // Lookahead and back-references: VBScript runs them, the built-in engine refuses them.
  RegExpWrapper automatic;
  ASSERT_TRUE(automatic.Search("(a)\\1(?=b)", "aab"));
  EXPECT_EQ(automatic.MatchText(1), "aa");
  RegExpWrapper builtIn(RegExpEngineKind::BuiltIn);
  EXPECT_FALSE(builtIn.Search("(a)\\1(?=b)", "aab"));
}

TEST(SystemRegExp, WrappersNestOnOneThread) {
  // Each wrapper holds its own COM initialisation; the inner one ending must not break the outer.
  RegExpWrapper outer(RegExpEngineKind::System);
  {
    RegExpWrapper inner(RegExpEngineKind::System);
    ASSERT_TRUE(inner.Search("b", "abc"));
    EXPECT_EQ(inner.MatchCount(), 1);
  }
  ASSERT_TRUE(outer.Search("(c)", "abc"));
  EXPECT_EQ(outer.SubMatchText(1, 1), "c");
}

#else

TEST(SystemRegExp, NoSystemObjectOutsideWindows) {
  EXPECT_EQ(EnterRegExpPlatform(), nullptr);
  EXPECT_EQ(CreateSystemRegExpEngine(), nullptr);
  RegExpWrapper system(RegExpEngineKind::System);
  EXPECT_FALSE(system.Search("a", "a"));
  EXPECT_EQ(system.MatchCount(), 0);
  EXPECT_EQ(system.GetPattern(), "");
  RegExpWrapper automatic;  // falls back to the built-in engine
  ASSERT_TRUE(automatic.Search("a", "a"));
  EXPECT_EQ(automatic.MatchCount(), 1);
  EXPECT_FALSE(automatic.Search("(a)\\1", "aa"));
}

#endif

}  // namespace
