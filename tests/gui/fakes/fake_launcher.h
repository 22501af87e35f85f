#pragma once

#include <string>
#include <vector>

#include "core/platform/process_launcher.h"

namespace quillet::test {

// Records the processes that would have been started; `succeed` decides the
// answer.
class FakeLauncher final : public ProcessLauncher {
 public:
  struct Start {
    std::string program;
    std::vector<std::string> arguments;
    std::string workingDirectory;
  };

  bool StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& workingDirectory) override {
    starts.push_back({program, arguments, workingDirectory});
    return succeed;
  }

  bool succeed = true;
  std::vector<Start> starts;
};

}  // namespace quillet::test
