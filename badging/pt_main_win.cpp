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
  return apk::RunPtOnStandardStreams(args);
}
