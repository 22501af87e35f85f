#pragma once

#include <string>

#include "core/platform/jdk_locator.h"

namespace quillet {

// JDKs in the distribution's JVM folder (/usr/lib/jvm) and the one JAVA_HOME
// names.
class LinuxJdkLocator final : public JdkLocator {
 public:
  // `javaHome` empty: the program's JAVA_HOME.
  explicit LinuxJdkLocator(std::string jvmFolder = "/usr/lib/jvm", std::string javaHome = {});
  bool HoldsCompiler(const Text& folder) override;
  std::vector<Text> Candidates() override;

 private:
  std::string jvmFolder_;
  std::string javaHome_;
};

}  // namespace quillet
