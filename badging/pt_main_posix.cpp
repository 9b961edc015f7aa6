#include "badging/pt_cli.h"

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return apk::RunPtOnStandardStreams(args);
}
