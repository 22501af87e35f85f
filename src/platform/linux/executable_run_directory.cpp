#include "platform/linux/executable_run_directory.h"

#include <unistd.h>

#include <vector>

namespace quillet {

ExecutableRunDirectory::ExecutableRunDirectory() {
  std::vector<char> buffer(4096);
  const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n > 0 && static_cast<std::size_t>(n) < buffer.size()) {
    program_.assign(buffer.data(), static_cast<std::size_t>(n));
  }
  const std::size_t slash = program_.rfind('/');
  directory_ = slash == std::string::npos ? "." : program_.substr(0, slash);
  if (directory_.empty()) directory_ = "/";
}

}  // namespace quillet
