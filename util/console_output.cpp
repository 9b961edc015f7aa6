#include "util/console_output.h"

#include "util/codepage.h"
#include "util/module_state.h"

bool OutputCollector::Add(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return false;
  collected_.insert(collected_.end(), data, data + size);
  if (!useCallback_ || !callback_) return false;
  Bytes chunk(data, data + size);
  if (decodeToWide_) {
    chunk = AnsiToWide(chunk, consoleCodePage);
    if (chunk.empty()) chunk.assign(2, 0);
  } else {
    chunk.push_back(0);
  }
  return callback_(chunk.data()) != 0;
}

Bytes OutputCollector::Finish() const {
  if (collected_.empty()) return {};
  if (decodeToWide_) return AnsiToWide(collected_, consoleCodePage);
  Bytes result(collected_);
  result.push_back(0);
  return result;
}
