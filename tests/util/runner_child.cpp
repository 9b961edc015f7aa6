// A console program with known behaviour for the runner tests: `fennlow_runner_child MODE [ARG]`.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

void Put(std::FILE* stream, const void* data, std::size_t size) {
  std::fwrite(data, 1, size, stream);
  std::fflush(stream);
}

void Put(std::FILE* stream, const char* text) { Put(stream, text, std::strlen(text)); }

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  const std::string mode = argc > 1 ? argv[1] : "";
  const long arg = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 0;
  if (mode == "both") {  // standard output and standard error, in this order
    Put(stdout, "out;");
    Put(stderr, "err;");
    Put(stdout, "done");
  } else if (mode == "zero") {
    Put(stdout, "ab\0cd", 5);
  } else if (mode == "gbk") {  // "中文" in code page 936
    Put(stdout, "\xD6\xD0\xCE\xC4");
  } else if (mode == "big") {  // `arg` bytes of a known pattern, in pieces
    std::string block;
    for (long i = 0; i < arg; ++i) block.push_back(i % 100 == 99 ? '\n' : static_cast<char>('a' + i % 26));
    for (std::size_t at = 0; at < block.size(); at += 7000) {
      Put(stdout, block.data() + at, std::min<std::size_t>(7000, block.size() - at));
    }
  } else if (mode == "chunks") {  // two writes with a pause between them
    Put(stdout, "first");
    Pause(static_cast<int>(arg > 0 ? arg : 500));
    Put(stdout, "second");
  } else if (mode == "stdin") {  // reads standard input to its end
    std::size_t total = 0;
    char buffer[256];
    while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, stdin)) total += got;
    std::printf("read %zu", total);
  } else if (mode == "sleep") {
    Put(stdout, "x");
    Pause(static_cast<int>(arg));
  } else {
    return 2;
  }
  return 0;
}
