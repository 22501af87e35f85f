#include "platform/linux/posix_process_launcher.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace quillet {

std::string FindProgram(const std::string& program) {
  if (program.empty()) return {};
  if (program.find('/') != std::string::npos) {
    return access(program.c_str(), X_OK) == 0 ? program : std::string();
  }
  const char* path = std::getenv("PATH");
  std::string dirs = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t begin = 0;
  while (begin <= dirs.size()) {
    std::size_t end = dirs.find(':', begin);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(begin, end - begin);
    if (dir.empty()) dir = ".";
    std::string candidate = dir + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    begin = end + 1;
  }
  return {};
}

bool PosixProcessLauncher::StartDetached(const std::string& program,
                                         const std::vector<std::string>& arguments,
                                         const std::string& workingDirectory) {
  const std::string resolved = FindProgram(program);
  if (resolved.empty()) return false;

  // Everything the children need is built before fork: after fork in a
  // threaded program only async-signal-safe calls are allowed.
  std::vector<std::string> argStrings;
  argStrings.push_back(program);
  argStrings.insert(argStrings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& a : argStrings) argv.push_back(a.data());
  argv.push_back(nullptr);

  // The grandchild reports a failed exec (or chdir) through this pipe; a
  // successful exec closes it, which the parent reads as end of file.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return false;

  const pid_t child = fork();
  if (child < 0) {
    close(report[0]);
    close(report[1]);
    return false;
  }
  if (child == 0) {
    close(report[0]);
    setsid();
    const pid_t grandchild = fork();
    if (grandchild != 0) _exit(grandchild < 0 ? 1 : 0);
    int error = 0;
    if (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0) {
      error = errno;
    } else {
      const int devNull = open("/dev/null", O_RDWR);
      if (devNull >= 0) {
        dup2(devNull, STDIN_FILENO);
        if (devNull != STDIN_FILENO) close(devNull);
      }
      execv(resolved.c_str(), argv.data());
      error = errno;
    }
    ssize_t ignored = write(report[1], &error, sizeof error);
    (void)ignored;
    _exit(127);
  }

  close(report[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got;
  do {
    got = read(report[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(report[0]);
  const bool childOk = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return childOk && got == 0;
}

}  // namespace quillet
