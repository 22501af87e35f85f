#pragma once

#include <string>

namespace quillet {

// A named mark that other processes of the same user can see: the first
// holder keeps it until the process ends, later ones learn that it is taken.
class InstanceGuard {
 public:
  virtual ~InstanceGuard() = default;
  // True when this call now holds `name` (it is kept until the process ends);
  // false when another holder, in this or another process, already has it.
  virtual bool Acquire(const std::string& name) = 0;
};

}  // namespace quillet
