#include "lock_holder_process.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillet::test {

LockHolderProcess::LockHolderProcess(const std::string& lockPath) {
  int ready[2];
  int release[2];
  if (pipe(ready) != 0) return;
  if (pipe(release) != 0) {
    close(ready[0]);
    close(ready[1]);
    return;
  }
  child_ = fork();
  if (child_ == 0) {
    // Only async-signal-safe calls here.
    close(ready[0]);
    close(release[1]);
    const int fd = open(lockPath.c_str(), O_RDWR | O_CREAT, 0600);
    const char ok = (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0) ? 'y' : 'n';
    ssize_t ignored = write(ready[1], &ok, 1);
    char c;
    ignored = read(release[0], &c, 1);
    (void)ignored;
    _exit(0);
  }
  close(ready[1]);
  close(release[0]);
  release_ = release[1];
  char ok = 0;
  holds_ = child_ > 0 && read(ready[0], &ok, 1) == 1 && ok == 'y';
  close(ready[0]);
}

LockHolderProcess::~LockHolderProcess() { Release(); }

void LockHolderProcess::Release() {
  if (release_ >= 0) {
    close(release_);
    release_ = -1;
  }
  if (child_ > 0) {
    waitpid(child_, nullptr, 0);
    child_ = -1;
  }
  holds_ = false;
}

}  // namespace quillet::test
