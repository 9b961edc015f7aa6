#include <cstdio>

#include "badging/pt_cli.h"

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  const apk::PtRun run = apk::RunPt(args);
  std::fwrite(run.out.data(), 1, run.out.size(), stdout);
  std::fflush(stdout);
  std::fwrite(run.err.data(), 1, run.err.size(), stderr);
  return run.exitCode;
}
