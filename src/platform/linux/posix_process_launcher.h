#pragma once

#include "core/platform/process_launcher.h"

namespace quillet {

// Starts a program in its own session through a double fork, so that it is
// re-parented to init, leaves no zombie behind and survives this process.
class PosixProcessLauncher final : public ProcessLauncher {
 public:
  bool StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& workingDirectory) override;
};

// The absolute path of `program`: itself when it holds a "/", otherwise the
// first executable file of that name in $PATH; empty when there is none.
std::string FindProgram(const std::string& program);

}  // namespace quillet
