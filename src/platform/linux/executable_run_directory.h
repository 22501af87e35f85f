#pragma once

#include "core/platform/run_directory.h"

namespace quillet {

// The folder of the running executable (/proc/self/exe).
class ExecutableRunDirectory final : public RunDirectory {
 public:
  ExecutableRunDirectory();
  std::string Directory() const override { return directory_; }
  std::string ProgramPath() const override { return program_; }

 private:
  std::string directory_;
  std::string program_;
};

}  // namespace quillet
