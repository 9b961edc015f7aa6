#include "badging/inflate.h"

#include <zlib.h>

#include <limits>

#include "badging/apk_error.h"

namespace apk {
namespace {

class InflateStream {
 public:
  InflateStream() {
    if (inflateInit2(&stream_, -MAX_WBITS) != Z_OK) throw ApkError("cannot start the decompressor");
  }
  InflateStream(const InflateStream&) = delete;
  InflateStream& operator=(const InflateStream&) = delete;
  ~InflateStream() { inflateEnd(&stream_); }
  z_stream* get() { return &stream_; }

 private:
  z_stream stream_{};
};

constexpr std::size_t kMaxStep = std::numeric_limits<uInt>::max();

}  // namespace

void InflateRaw(const InputPump& pump, std::span<std::uint8_t> out) {
  InflateStream stream;
  z_stream* z = stream.get();
  std::size_t produced = 0;
  std::span<const std::uint8_t> input;
  bool inputDone = false;
  for (;;) {
    if (z->avail_in == 0 && !inputDone) {
      input = pump();
      if (input.empty()) {
        inputDone = true;
      } else {
        z->next_in = const_cast<Bytef*>(input.data());
        z->avail_in = static_cast<uInt>(input.size() < kMaxStep ? input.size() : kMaxStep);
      }
    }
    // One spare byte beyond the expected size tells an overlong stream from an exact one.
    std::uint8_t spare = 0;
    const std::size_t room = out.size() - produced;
    if (room > 0) {
      z->next_out = out.data() + produced;
      z->avail_out = static_cast<uInt>(room < kMaxStep ? room : kMaxStep);
    } else {
      z->next_out = &spare;
      z->avail_out = 1;
    }
    const uInt before = z->avail_out;
    const int status = inflate(z, Z_NO_FLUSH);
    const std::size_t made = before - z->avail_out;
    if (room == 0 && made > 0) throw ApkError("compressed entry is longer than its recorded size");
    produced += made;
    if (status == Z_STREAM_END) break;
    if (status == Z_BUF_ERROR) {
      if (inputDone) throw ApkError("compressed entry ends early");
      continue;
    }
    if (status != Z_OK) throw ApkError("compressed entry is corrupt");
  }
  if (produced != out.size()) throw ApkError("compressed entry is shorter than its recorded size");
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  uLong crc = crc32(0L, Z_NULL, 0);
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t step = bytes.size() - at < kMaxStep ? bytes.size() - at : kMaxStep;
    crc = crc32(crc, bytes.data() + at, static_cast<uInt>(step));
    at += step;
  }
  return static_cast<std::uint32_t>(crc);
}

}  // namespace apk
