// What only the Windows runner can show: the interpreter it picks and the handles the child gets.
#include <gtest/gtest.h>

#include <chrono>

#include "tests/util/runner_fixture.h"
#include "util/console_runner.h"
#include "util/unique_resource.h"
#include "util/windows_prelude.h"

namespace {

TEST_F(RunnerTest, InterpreterFollowsTheVersionWord) {
  const struct {
    std::int32_t versionWord;
    Text expected;
  } cases[] = {
      {0, ""},       // version unknown: command.com, which this system lacks
      {0x500, ""},   // Windows 2000: command.com
      {0x501, "hello\r\n"},
      {0xA00, "hello\r\n"},
  };
  for (const auto& c : cases) {
    osVersionWord = c.versionWord;
    EXPECT_EQ(RunConsoleCommand("echo hello"), c.expected) << std::hex << c.versionWord;
  }
}

// 259 is STILL_ACTIVE, the exit code of a running process.
TEST_F(RunnerTest, ChildEndingWithCodeOfARunningProcessEndsTheRun) {
  EXPECT_EQ(WithinSeconds(30, [] { return RunConsoleCommand("echo x& exit 259"); }), "x\r\n");
}

// A pipe of the program's own must not end up in the child: its reader would then wait for a
// child that knows nothing of it.
TEST_F(RunnerTest, ChildInheritsNoOtherHandles) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  UniqueHandle readEnd;
  UniqueHandle writeEnd;
  ASSERT_TRUE(::CreatePipe(readEnd.put(), writeEnd.put(), &inheritable, 0));

  const auto started = std::chrono::steady_clock::now();
  // Stops after the first chunk; the child then sleeps on for 4 s.
  EXPECT_EQ(RunConsoleCommand(kChild + "sleep 4000", [](const void*) { return 1; }, true), "x");
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));

  writeEnd.reset();
  DWORD available = 0;
  EXPECT_FALSE(::PeekNamedPipe(readEnd.get(), nullptr, 0, nullptr, &available, nullptr))
      << "the sleeping child still holds the write end";
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
}

}  // namespace
