#pragma once
// The `pt` command line, free of any platform code: arguments in, output and errors out.
#include <filesystem>
#include <string>
#include <vector>

namespace apk {

struct PtRun {
  int exitCode = 0;
  std::string out;  // UTF-8, "\n" line ends
  std::string err;  // one line, UTF-8
};

// args: the arguments after the program name. Never reads standard input.
PtRun RunPt(const std::vector<std::filesystem::path>& args);

// RunPt with its output written to standard output and its errors to standard error; returns the
// exit code. The streams must already be in the mode the platform needs.
int RunPtOnStandardStreams(const std::vector<std::filesystem::path>& args);

}  // namespace apk
