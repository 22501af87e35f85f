#include "platform/linux/linux_jdk_locator.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "core/text/encodings.h"

namespace quillet {
namespace {

bool HasCompilerUtf8(const std::string& folder) {
  const std::string javac = folder + "/bin/javac";
  struct stat st {};
  return stat(javac.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(javac.c_str(), X_OK) == 0;
}

std::string RealPath(const std::string& path) {
  char buffer[PATH_MAX];
  return realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

}  // namespace

LinuxJdkLocator::LinuxJdkLocator(std::string jvmFolder, std::string javaHome)
    : jvmFolder_(std::move(jvmFolder)), javaHome_(std::move(javaHome)) {
  if (javaHome_.empty()) {
    const char* home = std::getenv("JAVA_HOME");
    if (home) javaHome_ = home;
  }
}

bool LinuxJdkLocator::HoldsCompiler(const Text& folder) {
  if (folder.empty()) return false;
  return HasCompilerUtf8(Utf16ToMultiByte(AnsiToUtf16(folder), kCodePageUtf8));
}

std::vector<Text> LinuxJdkLocator::Candidates() {
  std::vector<std::string> found;
  if (!javaHome_.empty() && HasCompilerUtf8(javaHome_)) found.push_back(javaHome_);
  std::vector<std::string> names;
  if (DIR* dir = opendir(jvmFolder_.c_str())) {
    while (const dirent* e = readdir(dir)) {
      const std::string name = e->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
  }
  // Newest first for the usual "java-21-openjdk-amd64" names.
  std::sort(names.rbegin(), names.rend());
  for (const std::string& name : names) {
    const std::string folder = jvmFolder_ + "/" + name;
    if (HasCompilerUtf8(folder)) found.push_back(folder);
  }
  // The distribution links one JDK under several names; each is offered once.
  std::vector<Text> candidates;
  std::vector<std::string> seen;
  for (const std::string& folder : found) {
    const std::string real = RealPath(folder);
    if (std::find(seen.begin(), seen.end(), real) != seen.end()) continue;
    seen.push_back(real);
    candidates.push_back(Utf8ToAnsi(folder));
  }
  return candidates;
}

}  // namespace quillet
