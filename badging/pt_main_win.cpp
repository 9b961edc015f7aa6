#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "badging/pt_cli.h"

// Wide arguments keep paths outside the ANSI code page (Chinese names on any system) intact.
int wmain(int argc, wchar_t** argv) {
  // Binary streams: the UTF-8 bytes and "\n" line ends go out exactly as the Linux tool writes them.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  std::vector<std::filesystem::path> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  const apk::PtRun run = apk::RunPt(args);
  std::fwrite(run.out.data(), 1, run.out.size(), stdout);
  std::fflush(stdout);
  std::fwrite(run.err.data(), 1, run.err.size(), stderr);
  return run.exitCode;
}
