#pragma once

#include <optional>
#include <vector>

#include "core/javaenv/java_setup.h"

namespace quillet::testing {

// The environment page as a record of what was shown.
class RecordingPage final : public JavaEnvironmentPage {
 public:
  struct Status {
    Text text;
    std::optional<std::uint32_t> argb;
  };

  void SetJavaStatus(const Text& text, std::optional<std::uint32_t> argb) override {
    statusText = text;
    statusChanges.push_back({text, argb});
  }
  void SetSystemInfo(const Text& text) override {
    systemInfo = text;
    systemInfoChanges.push_back(text);
  }
  Text JdkPath() const override { return jdkPath; }
  Text JavaStatus() const override { return statusText; }

  Text jdkPath;
  Text statusText;
  Text systemInfo;
  std::vector<Status> statusChanges;
  std::vector<Text> systemInfoChanges;
};

}  // namespace quillet::testing
