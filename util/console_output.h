#pragma once
// Collects the chunks a console child writes and hands each to the caller's callback.
#include <cstddef>
#include <cstdint>

#include "util/console_runner.h"
#include "util/text.h"

class OutputCollector {
 public:
  OutputCollector(const OutputChunkCallback& callback, bool useCallback, bool decodeToWide)
      : callback_(callback), useCallback_(useCallback), decodeToWide_(decodeToWide) {}

  // Appends one chunk; true when the callback asks to stop reading.
  [[nodiscard]] bool Add(const std::uint8_t* data, std::size_t size);

  // Empty when nothing came; otherwise the output plus one zero byte, or with decodeToWide its
  // UTF-16 form in consoleCodePage with terminator.
  [[nodiscard]] Bytes Finish() const;

 private:
  const OutputChunkCallback& callback_;
  bool useCallback_;
  bool decodeToWide_;
  Bytes collected_;
};
