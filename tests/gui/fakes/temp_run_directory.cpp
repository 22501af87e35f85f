#include "temp_run_directory.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace quillet::test {

namespace fs = std::filesystem;

TempRunDirectory::TempRunDirectory() {
  // Spaces and Chinese in the folder name: the program must cope with both.
  std::string pattern = (fs::temp_directory_path() / "quillet 测试-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  directory_ = buffer.data();
}

TempRunDirectory::~TempRunDirectory() {
  std::error_code ec;
  fs::remove_all(directory_, ec);
}

void TempRunDirectory::CreateProgramFile(const std::string& script) {
  {
    std::ofstream out(ProgramPath(), std::ios::binary | std::ios::trunc);
    out << script;
  }
  fs::permissions(ProgramPath(), fs::perms::owner_all, fs::perm_options::replace);
}

}  // namespace quillet::test
