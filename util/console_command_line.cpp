#include "util/console_command_line.h"

#include "util/codepage.h"

namespace {
constexpr std::int32_t kFirstVersionWithCmd = 0x501;
}

Text InterpreterSuffix(std::int32_t versionWord) {
  return versionWord >= kFirstVersionWithCmd ? "\\cmd.exe" : "\\command.com";
}

WideText InterpreterPath(const WideText& systemFolder, std::int32_t versionWord) {
  const WideText folder = CutAtWideNul(systemFolder);
  if (folder.empty()) return {};
  const WideText suffix = TextToWide(InterpreterSuffix(versionWord), false);
  if (folder.size() + suffix.size() > kInterpreterPathBytes) return {};
  WideText path(folder);
  path.insert(path.end(), suffix.begin(), suffix.end());
  return path;
}

WideText BuildCommandLine(const WideText& command) {
  WideText line = TextToWide(" /c ", true);
  line.insert(line.end(), command.begin(), command.end());
  if (line.size() < kCommandLineBytes) line.resize(kCommandLineBytes, 0);
  return line;
}

bool CommandLineFits(const WideText& commandLine) {
  return CutAtWideNul(commandLine).size() + 2 <= kCommandLineBytes;
}
