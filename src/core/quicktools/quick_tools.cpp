#include "core/quicktools/quick_tools.h"

#include <filesystem>
#include <system_error>

#include "core/quicktools/find_files.h"
#include "core/quicktools/path_file_name.h"

namespace quillet {

std::string QuickToolsFolder(const std::string& runDirectory) {
  return runDirectory + "/QuickTools";
}

bool CreateQuickToolsFolder(const std::string& runDirectory) {
  std::error_code error;
  const std::filesystem::path folder = QuickToolsFolder(runDirectory);
  std::filesystem::create_directory(folder, error);
  return !error && std::filesystem::is_directory(folder, error);
}

std::vector<QuickTool> ListQuickTools(const std::string& folder, EventPump* pump) {
  std::vector<std::string> paths;
  FindFiles(folder, "*", paths, true, pump);
  std::vector<QuickTool> tools;
  tools.reserve(paths.size());
  for (std::string& path : paths) {
    std::string name = PathFileName(path);
    tools.push_back({std::move(path), std::move(name)});
  }
  return tools;
}

bool OpenQuickTool(Shell& shell, const std::vector<QuickTool>& tools, long item) {
  if (item < 0 || static_cast<std::size_t>(item) >= tools.size()) return false;
  return shell.OpenFile(tools[static_cast<std::size_t>(item)].path);
}

}  // namespace quillet
