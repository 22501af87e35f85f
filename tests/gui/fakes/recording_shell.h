#pragma once

#include <string>
#include <vector>

#include "core/platform/shell.h"

namespace quillet::test {

// Records what would have been opened; never starts anything.
class RecordingShell final : public Shell {
 public:
  bool OpenUrl(const std::string& url) override {
    urls.push_back(url);
    return true;
  }
  bool OpenFile(const std::string& path) override {
    files.push_back(path);
    return true;
  }
  bool OpenTerminal(const std::string& command) override {
    terminals.push_back(command);
    return true;
  }

  std::vector<std::string> urls;
  std::vector<std::string> files;
  std::vector<std::string> terminals;
};

}  // namespace quillet::test
