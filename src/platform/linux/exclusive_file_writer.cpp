#include "exclusive_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace quillet {

namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool ExclusiveFileWriter::Exists(const std::string& path) const {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

bool ExclusiveFileWriter::WriteNew(const std::string& path, std::string_view bytes,
                                   bool executable) {
  if (path.empty() || path.back() == '/') return false;
  std::string temp = FolderOf(path) + "/.quillet-new-XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes) && ::fchmod(fd, executable ? 0755 : 0644) == 0 && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::link(temp.c_str(), path.c_str()) == 0;
  ::unlink(temp.c_str());
  return ok;
}

}  // namespace quillet
