#include "util/console_runner.h"

#include "util/codepage.h"

Text RunConsoleCommand(const Text& command, const OutputChunkCallback& callback, bool useCallback) {
  static const OutputChunkCallback kNone;
  const WideText wide = TextToWide(command, false);
  return BytesToText(CaptureConsoleOutput(wide, useCallback ? callback : kNone, useCallback, false));
}
