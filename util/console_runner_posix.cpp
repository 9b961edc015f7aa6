// The runner of console_runner_win.cpp without Windows: "/bin/sh -c" with the command (as UTF-8),
// standard output and error in one pipe, standard input from /dev/null, polled until the shell ends.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "util/codepage.h"
#include "util/console_command_line.h"
#include "util/console_output.h"
#include "util/console_runner.h"

extern char** environ;

namespace {

constexpr int kPollIntervalMs = 1;

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { reset(); }
  [[nodiscard]] int get() const { return fd_; }
  void reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
};

class SpawnActions {
 public:
  SpawnActions() { ::posix_spawn_file_actions_init(&actions_); }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;
  ~SpawnActions() { ::posix_spawn_file_actions_destroy(&actions_); }
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

bool ReadAvailable(int readEnd, OutputCollector& collector, bool& stop) {
  int available = 0;
  if (::ioctl(readEnd, FIONREAD, &available) != 0 || available <= 0) return false;
  std::vector<std::uint8_t> chunk(static_cast<std::size_t>(available));
  const ssize_t got = ::read(readEnd, chunk.data(), chunk.size());
  if (got <= 0) return false;
  stop = collector.Add(chunk.data(), static_cast<std::size_t>(got));
  return true;
}

}  // namespace

Bytes CaptureConsoleOutput(const WideText& command, const OutputChunkCallback& callback, bool useCallback,
                           bool decodeToWide) {
  // The same limit as the Windows command line, so both builds refuse the same commands.
  if (!CommandLineFits(BuildCommandLine(command))) return {};
  const Bytes utf8 = WideToAnsi(command, kCodePageUtf8);
  const std::string script(utf8.begin(), utf8.end());

  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return {};
  UniqueFd readEnd(ends[0]);
  UniqueFd writeEnd(ends[1]);

  SpawnActions actions;
  ::posix_spawn_file_actions_addopen(actions.get(), 0, "/dev/null", O_RDONLY, 0);
  ::posix_spawn_file_actions_adddup2(actions.get(), writeEnd.get(), 1);
  ::posix_spawn_file_actions_adddup2(actions.get(), writeEnd.get(), 2);
  std::string shell = "/bin/sh";
  std::string flag = "-c";
  std::string text = script;
  char* argv[] = {shell.data(), flag.data(), text.data(), nullptr};
  pid_t pid = 0;
  const int spawned = ::posix_spawn(&pid, "/bin/sh", actions.get(), nullptr, argv, environ);
  writeEnd.reset();
  if (spawned != 0) return {};

  OutputCollector collector(callback, useCallback, decodeToWide);
  bool stop = false;
  bool ended = false;
  while (!stop) {
    if (!ReadAvailable(readEnd.get(), collector, stop)) {
      if (::waitpid(pid, nullptr, WNOHANG) == pid) {
        ended = true;
        ReadAvailable(readEnd.get(), collector, stop);  // what it wrote just before its end
        break;
      }
    }
    if (!stop) {
      pollfd ready{readEnd.get(), POLLIN, 0};
      ::poll(&ready, 1, kPollIntervalMs);
    }
  }
  // A child left running after an early stop is reaped when it ends, never waited for here.
  if (!ended) std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
  return collector.Finish();
}
