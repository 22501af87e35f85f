#pragma once

#include <string>
#include <vector>

#include "core/platform/instance_guard.h"

namespace quillet {

// A named mark kept as an exclusive flock on a file "quillet-<name>.lock" in
// `directory` (the user's runtime directory by default). The kernel drops
// the lock when the holder ends, even after a crash, so no stale mark stays
// behind; the descriptor is close-on-exec so started programs never inherit it.
class LockFileInstanceGuard final : public InstanceGuard {
 public:
  // Empty `directory`: $XDG_RUNTIME_DIR, or /tmp when that is not set.
  explicit LockFileInstanceGuard(std::string directory = {});
  ~LockFileInstanceGuard() override;
  LockFileInstanceGuard(const LockFileInstanceGuard&) = delete;
  LockFileInstanceGuard& operator=(const LockFileInstanceGuard&) = delete;

  bool Acquire(const std::string& name) override;
  // The lock file used for `name`.
  std::string LockPath(const std::string& name) const;

 private:
  std::string directory_;
  std::vector<int> held_;
};

}  // namespace quillet
