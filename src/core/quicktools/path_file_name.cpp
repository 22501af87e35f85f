#include "core/quicktools/path_file_name.h"

namespace quillet {

// "/" and "." are single bytes that never occur inside a multi-byte
// character of UTF-8 or code page 936, so a byte search is safe.
std::string PathFileName(const std::string& path, bool keepExtension) {
  if (path.empty() || path.back() == '/') return {};
  const std::size_t slash = path.rfind('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (keepExtension) return name;
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

}  // namespace quillet
