#pragma once
// Shared set-up of the runner tests: module state as the program sets it, the helper's folder as
// the current directory (as the import sets the run directory), and a guard against hangs.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>

#include "tests/util/test_dir.h"
#include "util/module_state.h"
#include "util/text.h"

#ifdef _WIN32
inline const Text kNewline = "\r\n";
inline const Text kChild = "fennlow_runner_child ";  // found in the current directory
#else
inline const Text kNewline = "\n";
inline const Text kChild = "./fennlow_runner_child ";
#endif

class RunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    osVersionWord = 0xA00;
    consoleCodePage = 936;
    std::filesystem::current_path(TestProgramDir());
  }
};

// Runs `work` and gives its result, ending the whole test program when it takes longer than
// `seconds`: a hung runner must fail the test, not stall the suite.
template <typename Work>
auto WithinSeconds(int seconds, Work work) {
  auto result = std::async(std::launch::async, work);
  if (result.wait_for(std::chrono::seconds(seconds)) != std::future_status::ready) {
    std::fprintf(stderr, "still running after %d s: the runner hangs\n", seconds);
    std::fflush(stderr);
    std::_Exit(1);
  }
  return result.get();
}
