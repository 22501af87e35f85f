#pragma once

#include <string>

#include "core/platform/run_directory.h"

namespace quillet::test {

// A fresh temporary folder standing in for the program's folder, removed
// with everything in it at the end. The program file is "quillet" in it and
// exists only after CreateProgramFile().
class TempRunDirectory final : public RunDirectory {
 public:
  TempRunDirectory();
  ~TempRunDirectory() override;
  TempRunDirectory(const TempRunDirectory&) = delete;
  TempRunDirectory& operator=(const TempRunDirectory&) = delete;

  std::string Directory() const override { return directory_; }
  std::string ProgramPath() const override { return directory_ + "/quillet"; }

  // Writes `script` as an executable program file.
  void CreateProgramFile(const std::string& script = "#!/bin/sh\n");
  std::string PathOf(const std::string& name) const { return directory_ + "/" + name; }

 private:
  std::string directory_;
};

}  // namespace quillet::test
