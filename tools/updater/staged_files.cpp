#include "staged_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace quillet::updater {

namespace {

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('/')); }

std::string BaseOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// A fresh empty file named after `path` in its folder; empty when it fails.
std::string MakeTempBeside(const std::string& path, const char* kind) {
  std::string temp = FolderOf(path) + "/." + BaseOf(path) + "." + kind + "-XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return {};
  ::close(fd);
  return temp;
}

}  // namespace

StagedFiles::StagedFiles(std::string targetDirectory) : directory_(std::move(targetDirectory)) {
  while (directory_.size() > 1 && directory_.back() == '/') directory_.pop_back();
}

StagedFiles::~StagedFiles() { Discard(); }

std::string StagedFiles::Stage(const UpdateFile& file, std::string* error) {
  const std::string target = directory_ + "/" + file.name;
  // The names are checked to be plain relative segments; make the folders.
  std::size_t slash = directory_.size() + 1;
  while ((slash = target.find('/', slash)) != std::string::npos) {
    const std::string folder = target.substr(0, slash);
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
      if (::mkdir(folder.c_str(), 0755) != 0) {
        *error = "无法创建文件夹 " + folder;
        return {};
      }
      madeFolders_.push_back(folder);
    } else if (!S_ISDIR(info.st_mode)) {
      *error = "不是文件夹：" + folder;
      return {};
    }
    ++slash;
  }
  const std::string temp = MakeTempBeside(target, "update");
  if (temp.empty()) {
    *error = "无法在目标文件夹中创建临时文件：" + file.name;
    return {};
  }
  entries_.push_back({file, target, temp});
  return temp;
}

bool StagedFiles::Commit(std::string* error) {
  struct Done {
    std::string target;
    std::string backup;  // empty: the target did not exist
  };
  std::vector<Done> done;
  const auto rollBack = [&] {
    for (auto it = done.rbegin(); it != done.rend(); ++it) {
      if (it->backup.empty()) {
        ::unlink(it->target.c_str());
      } else {
        std::rename(it->backup.c_str(), it->target.c_str());
      }
    }
  };

  for (const Entry& entry : entries_) {
    struct stat old {};
    const bool exists = ::lstat(entry.target.c_str(), &old) == 0;
    const mode_t mode = exists && S_ISREG(old.st_mode) ? (old.st_mode & 07777)
                                                       : (entry.file.executable ? 0755 : 0644);
    std::string backup;
    bool ok = ::chmod(entry.temp.c_str(), mode) == 0;
    if (ok && exists) {
      // The old file moves aside (rename over a reserved name) so that it can
      // come back if a later file fails.
      backup = MakeTempBeside(entry.target, "old");
      ok = !backup.empty() && std::rename(entry.target.c_str(), backup.c_str()) == 0;
      if (!ok && !backup.empty()) ::unlink(backup.c_str());
      if (!ok) backup.clear();
    }
    if (ok && std::rename(entry.temp.c_str(), entry.target.c_str()) != 0) {
      if (!backup.empty()) std::rename(backup.c_str(), entry.target.c_str());
      ok = false;
    }
    if (!ok) {
      rollBack();
      *error = "无法替换文件：" + entry.file.name;
      Discard();
      return false;
    }
    done.push_back({entry.target, backup});
  }
  for (const Done& d : done) {
    if (!d.backup.empty()) ::unlink(d.backup.c_str());
  }
  entries_.clear();
  madeFolders_.clear();
  return true;
}

void StagedFiles::Discard() {
  for (const Entry& entry : entries_) ::unlink(entry.temp.c_str());
  entries_.clear();
  for (auto it = madeFolders_.rbegin(); it != madeFolders_.rend(); ++it) ::rmdir(it->c_str());
  madeFolders_.clear();
}

}  // namespace quillet::updater
