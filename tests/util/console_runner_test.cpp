// The runner on both builds: cmd.exe under Wine, /bin/sh natively.
#include "util/console_runner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "tests/util/hex.h"
#include "tests/util/runner_fixture.h"
#include "util/codepage.h"

namespace {

struct RunCase {
  Text command;
  Text expected;
  const char* why;
};

TEST_F(RunnerTest, CollectsOutputOfTheCommand) {
  const RunCase cases[] = {
      {"echo hello", "hello" + kNewline, "a shell built-in"},
      {kChild + "both", "out;err;done", "standard error arrives in the same pipe, in order"},
      {"exit 0", "", "no output gives empty text, not a lone zero"},
      {kChild + "zero", "ab", "the text ends at the first zero byte of the output"},
      {kChild + "gbk", "\xD6\xD0\xCE\xC4", "output bytes come back unchanged"},
      {kChild + "chunks 50", "firstsecond", "output of several writes is joined"},
      {"", "", "an empty command"},
  };
  for (const RunCase& c : cases) {
    EXPECT_EQ(ToHex(RunConsoleCommand(c.command)), ToHex(c.expected)) << c.command << ": " << c.why;
  }
}

TEST_F(RunnerTest, RawOutputKeepsZeroBytesAndEndsInOne) {
  EXPECT_EQ(ToHex(CaptureConsoleOutput(TextToWide(kChild + "zero", false), {}, false, false)),
            "61 62 00 63 64 00");
  EXPECT_TRUE(CaptureConsoleOutput(TextToWide("exit 0", false), {}, false, false).empty());
}

TEST_F(RunnerTest, DecodesOutputToWide) {
  EXPECT_EQ(ToHex(CaptureConsoleOutput(TextToWide(kChild + "gbk", false), {}, false, true)), "2D 4E 87 65 00 00");
  EXPECT_TRUE(CaptureConsoleOutput(TextToWide("exit 0", false), {}, false, true).empty());
}

TEST_F(RunnerTest, CallbackThatStopsEndsReadingAfterTheFirstChunk) {
  std::vector<std::string> chunks;
  const auto started = std::chrono::steady_clock::now();
  const Text result = RunConsoleCommand(
      kChild + "chunks 3000",
      [&](const void* chunk) {
        chunks.emplace_back(static_cast<const char*>(chunk));
        return 1;
      },
      true);
  EXPECT_EQ(result, "first");
  EXPECT_EQ(chunks, std::vector<std::string>{"first"});
  // The child goes on sleeping on its own; the runner does not wait for it.
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(2500));
}

TEST_F(RunnerTest, CallbackSeesEveryChunkZeroTerminated) {
  std::string joined;
  int calls = 0;
  const Text result = RunConsoleCommand(
      kChild + "chunks 300",
      [&](const void* chunk) {
        joined += static_cast<const char*>(chunk);
        ++calls;
        return 0;
      },
      true);
  EXPECT_EQ(result, "firstsecond");
  EXPECT_EQ(joined, result);
  EXPECT_GE(calls, 2);
}

TEST_F(RunnerTest, CallbackIsNotCalledWithoutUseCallback) {
  int calls = 0;
  EXPECT_EQ(RunConsoleCommand("echo hi", [&](const void*) { return ++calls; }, false), "hi" + kNewline);
  EXPECT_EQ(calls, 0);
}

TEST_F(RunnerTest, DecodedChunksReachTheCallbackAsWideText) {
  Bytes first;
  const Bytes result = CaptureConsoleOutput(
      TextToWide(kChild + "gbk", false),
      [&](const void* chunk) {
        const auto* units = static_cast<const char16_t*>(chunk);
        std::size_t count = 0;
        while (units[count] != 0) ++count;
        first.assign(static_cast<const std::uint8_t*>(chunk), static_cast<const std::uint8_t*>(chunk) + count * 2 + 2);
        return 1;
      },
      true, true);
  EXPECT_EQ(ToHex(first), "2D 4E 87 65 00 00");
  EXPECT_EQ(ToHex(result), "2D 4E 87 65 00 00");
}

TEST_F(RunnerTest, LargeOutputArrivesWhole) {
  constexpr long kSize = 1 << 20;
  Text expected;
  for (long i = 0; i < kSize; ++i) expected.push_back(i % 100 == 99 ? '\n' : static_cast<char>('a' + i % 26));
  const Text result = WithinSeconds(60, [] { return RunConsoleCommand(kChild + "big " + std::to_string(kSize)); });
  ASSERT_EQ(result.size(), expected.size());
  EXPECT_TRUE(result == expected);
}

TEST_F(RunnerTest, TooLongCommandGivesEmptyOutput) {
  // " /c " + command + terminator over 32767 units: the system refuses it.
  EXPECT_EQ(RunConsoleCommand("echo " + Text(40000, 'a')), "");
  EXPECT_EQ(RunConsoleCommand("echo " + Text(32767 - 4 - 5, 'a')), "");
}

TEST_F(RunnerTest, ChildThatReadsStandardInputSeesItsEnd) {
  EXPECT_EQ(WithinSeconds(30, [] { return RunConsoleCommand(kChild + "stdin"); }), "read 0");
#ifdef _WIN32
  const Text readers[] = {"findstr x & echo ended", "more & echo ended", "set /p answer= & echo ended"};
#else
  const Text readers[] = {"cat; echo ended", "read answer; echo ended", "grep x; echo ended"};
#endif
  for (const Text& reader : readers) {
    EXPECT_NE(WithinSeconds(30, [&] { return RunConsoleCommand(reader); }).find("ended"), Text::npos) << reader;
  }
}

}  // namespace
