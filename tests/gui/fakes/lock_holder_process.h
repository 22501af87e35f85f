#pragma once

// Another process holding a lock file, the way a second running copy of the
// program holds its single-instance mark: the child takes the lock, reports
// whether it got it, and keeps it until Release() or destruction.

#include <sys/types.h>

#include <string>

namespace quillet::test {

class LockHolderProcess {
 public:
  explicit LockHolderProcess(const std::string& lockPath);
  ~LockHolderProcess();
  LockHolderProcess(const LockHolderProcess&) = delete;
  LockHolderProcess& operator=(const LockHolderProcess&) = delete;

  // True when the child runs and holds the lock.
  bool Holds() const { return holds_; }
  // Lets the child end and waits for it; the lock goes with it.
  void Release();

 private:
  pid_t child_ = -1;
  int release_ = -1;
  bool holds_ = false;
};

}  // namespace quillet::test
