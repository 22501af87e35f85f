#pragma once

#include <string>

namespace quillet::testing {

// A fresh folder under the system's temp folder, removed with everything in
// it when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Writes `content` to `path`, creating its folders; `executable` sets 0755.
void WriteFile(const std::string& path, const std::string& content, bool executable = false);
// The file's content; empty when it cannot be read.
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

// Sets an environment variable of this process for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  bool had_;
  std::string old_;
};

}  // namespace quillet::testing
