#pragma once

#include <string>
#include <vector>

namespace quillet {

// Starts programs that outlive the caller: the new process is detached, its
// end is never waited for and it keeps running when this process ends.
class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Starts `program` (a path, or a name looked up in PATH) with `arguments`
  // in `workingDirectory` (empty: the caller's). True when it was started.
  virtual bool StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& workingDirectory) = 0;
};

}  // namespace quillet
