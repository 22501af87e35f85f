#include "platform/linux/shell_process_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>
#include <vector>

#include "core/text/encodings.h"

extern char** environ;

namespace quillet {
namespace {

// A bigger pipe lets a fast writer run on while the reader is between polls.
constexpr int kPipeSize = 1 << 20;

// Checks the first word, then runs the command in a fresh interpreter
// (exec keeps the process, so the child's pid is that of the command).
constexpr const char* kCheckScript =
    "command -v \"$1\" >/dev/null 2>&1 || { printf '%s' \"$2\" >&2; exit 127; }\n"
    "exec /bin/sh -c \"$3\"";

// Ends the wait for a child that the reader has given up on, off the
// caller's thread, so it never stays a zombie.
void ReapLater(pid_t pid) {
  std::thread([pid] {
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

class PipeProcess final : public CapturedProcess {
 public:
  PipeProcess(pid_t pid, int fd) : pid_(pid), fd_(fd) {}
  ~PipeProcess() override {
    close(fd_);
    if (!HasEnded()) ReapLater(pid_);
  }

  long BytesWaiting() override {
    int waiting = 0;
    if (ioctl(fd_, FIONREAD, &waiting) < 0) return -1;
    return waiting;
  }

  long Read(std::uint8_t* buffer, std::size_t count) override {
    for (;;) {
      const ssize_t got = read(fd_, buffer, count);
      if (got >= 0) return static_cast<long>(got);
      if (errno == EINTR) continue;
      return errno == EAGAIN ? 0 : -1;
    }
  }

  bool WaitForOutput(int milliseconds) override {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, milliseconds) <= 0) return false;
    // A closed write end also wakes poll; only bytes count as output.
    return BytesWaiting() > 0;
  }

  bool HasEnded() override {
    if (reaped_) return true;
    const pid_t r = waitpid(pid_, nullptr, WNOHANG);
    if (r == pid_ || (r < 0 && errno == ECHILD)) reaped_ = true;
    return reaped_;
  }

 private:
  pid_t pid_;
  int fd_;
  bool reaped_ = false;
};

bool IsPlainNameByte(unsigned char c) {
  return c >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '.' || c == '_' || c == '-' || c == '+' || c == '/';
}

std::vector<std::string> ChildEnvironment(const std::string& toolDirectory) {
  std::vector<std::string> env;
  bool sawPath = false;
  for (char** e = environ; e && *e; ++e) {
    std::string entry(*e);
    if (!toolDirectory.empty() && entry.rfind("PATH=", 0) == 0) {
      entry = "PATH=" + toolDirectory + ":" + entry.substr(5);
      sawPath = true;
    }
    env.push_back(std::move(entry));
  }
  if (!toolDirectory.empty() && !sawPath) {
    env.push_back("PATH=" + toolDirectory + ":/usr/local/bin:/usr/bin:/bin");
  }
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> p;
  for (std::string& s : strings) p.push_back(s.data());
  p.push_back(nullptr);
  return p;
}

}  // namespace

std::string CheckedCommandName(const std::string& command) {
  const auto start = command.find_first_not_of(" \t\r\n");
  if (start == std::string::npos) return {};
  const auto end = command.find_first_of(" \t\r\n", start);
  std::string word = command.substr(start, end == std::string::npos ? end : end - start);
  if (word[0] == '-') return {};
  for (unsigned char c : word) {
    if (!IsPlainNameByte(c)) return {};
  }
  return word;
}

ShellProcessRunner::ShellProcessRunner(std::string toolDirectory)
    : toolDirectory_(std::move(toolDirectory)) {}

unsigned ShellProcessRunner::OutputCodePage() const { return kCodePageUtf8; }

std::unique_ptr<CapturedProcess> ShellProcessRunner::StartCaptured(const Text& command) {
  const std::string utf8 = Utf16ToMultiByte(AnsiToUtf16(command), kCodePageUtf8);
  std::vector<std::string> args{"/bin/sh", "-c"};
  const std::string name = CheckedCommandName(utf8);
  if (name.empty()) {
    args.push_back(utf8);
  } else {
    const std::string message =
        "'" + name + "' 不是内部或外部命令，也不是可运行的程序\r\n或批处理文件。";
    args.insert(args.end(), {kCheckScript, "sh", name, message, utf8});
  }
  std::vector<std::string> env = ChildEnvironment(toolDirectory_);

  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return nullptr;
  fcntl(fds[0], F_SETPIPE_SZ, kPipeSize);
  fcntl(fds[0], F_SETFL, fcntl(fds[0], F_GETFL) | O_NONBLOCK);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
  // A program that ignores SIGPIPE must not hand that on: a child that
  // outlives the reader has to die on its next write, not loop forever.
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t defaults, none;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

  std::vector<char*> argv = Pointers(args);
  std::vector<char*> envp = Pointers(env);
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, "/bin/sh", &actions, &attr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  // Only the child may hold the write end, or the pipe never reports its end.
  close(fds[1]);
  if (rc != 0) {
    close(fds[0]);
    return nullptr;
  }
  return std::make_unique<PipeProcess>(pid, fds[0]);
}

}  // namespace quillet
