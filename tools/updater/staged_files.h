#pragma once

// New versions of files wait under temporary names beside the files they
// replace, so that nothing is changed until every one of them is complete
// and verified; Commit then renames them into place one by one and, when a
// rename fails, puts back what it had already replaced.

#include <string>
#include <vector>

#include "update_file_list.h"

namespace quillet::updater {

class StagedFiles {
 public:
  // `targetDirectory`: the folder the names are relative to.
  explicit StagedFiles(std::string targetDirectory);
  // Discards whatever was not committed.
  ~StagedFiles();
  StagedFiles(const StagedFiles&) = delete;
  StagedFiles& operator=(const StagedFiles&) = delete;

  // Makes the empty temporary file for `file` (and the folders it needs) and
  // returns its path; empty with `error` set when it cannot.
  std::string Stage(const UpdateFile& file, std::string* error);

  // Renames every staged file over its target. A replaced file keeps its
  // permissions; a new one gets 0755 for a program, 0644 otherwise. False
  // with `error` set when any rename failed: every target is then as before.
  bool Commit(std::string* error);

  // Removes the temporary files and the folders Stage made.
  void Discard();

 private:
  struct Entry {
    UpdateFile file;
    std::string target;
    std::string temp;
  };
  std::string directory_;
  std::vector<Entry> entries_;
  std::vector<std::string> madeFolders_;
};

}  // namespace quillet::updater
