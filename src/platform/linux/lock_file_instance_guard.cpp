#include "platform/linux/lock_file_instance_guard.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

namespace quillet {

LockFileInstanceGuard::LockFileInstanceGuard(std::string directory)
    : directory_(std::move(directory)) {
  if (directory_.empty()) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    directory_ = (runtime != nullptr && runtime[0] != '\0') ? runtime : "/tmp";
  }
}

LockFileInstanceGuard::~LockFileInstanceGuard() {
  for (int fd : held_) close(fd);
}

std::string LockFileInstanceGuard::LockPath(const std::string& name) const {
  // In /tmp several users share one folder: the user id keeps their marks
  // apart. Bytes that could leave the folder or confuse a shell become "_".
  std::string safe;
  for (unsigned char c : name) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '_' || c == '.';
    safe += plain ? static_cast<char>(c) : '_';
  }
  return directory_ + "/quillet-" + std::to_string(getuid()) + "-" + safe + ".lock";
}

bool LockFileInstanceGuard::Acquire(const std::string& name) {
  const std::string path = LockPath(name);
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  // Each open makes its own open file description, so a second Acquire in
  // this same process is refused just like one from another process.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return false;
  }
  held_.push_back(fd);
  return true;
}

}  // namespace quillet
