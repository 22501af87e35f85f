#include "core/quicktools/find_files.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>

namespace quillet {
namespace {

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool IsFolder(const std::string& path, unsigned char type) {
  if (type == DT_DIR) return true;
  if (type != DT_LNK && type != DT_UNKNOWN) return false;
  // A link counts as what it points to; a dangling link is listed like a
  // shortcut whose target is gone.
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool MatchesFilePattern(const std::string& name, const std::string& pattern) {
  if (pattern == "*" || pattern == "*.*") return true;
  // Iterative match with one back-tracking point for the last "*".
  std::size_t n = 0, p = 0, starAt = std::string::npos, resumeAt = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Fold(pattern[p]) == Fold(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starAt = p++;
      resumeAt = n;
    } else if (starAt != std::string::npos) {
      p = starAt + 1;
      n = ++resumeAt;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

long FindFiles(const std::string& folder, const std::string& pattern, std::vector<std::string>& out,
               bool fullPath, EventPump* pump) {
  out.clear();
  std::string prefix = folder;
  if (prefix.empty() || prefix.back() != '/') prefix += '/';
  DIR* dir = ::opendir(prefix.c_str());
  if (dir == nullptr) return 0;
  while (const dirent* entry = ::readdir(dir)) {
    const char* name = entry->d_name;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    const std::string path = prefix + name;
    if (IsFolder(path, entry->d_type) || !MatchesFilePattern(name, pattern)) continue;
    out.push_back(fullPath ? path : std::string(name));
    if (pump != nullptr) pump->PumpPending();
  }
  ::closedir(dir);
  return static_cast<long>(out.size());
}

}  // namespace quillet
