#include "gui/pages/user_scope_backend.h"

#include <unistd.h>

#include <filesystem>

namespace quillet {

namespace {

constexpr EnvironmentScope kUser = EnvironmentScope::kUser;

bool IsPathName(const Text& name) { return TextUpper(name) == "PATH"; }

}  // namespace

std::optional<std::vector<EnvironmentEntry>> UserScopeBackend::Load(EnvironmentScope) {
  std::optional<std::vector<EnvironmentEntry>> entries = inner_.Load(kUser);
  if (!entries) return entries;
  bool hasPath = false;
  for (const EnvironmentEntry& e : *entries) hasPath = hasPath || IsPathName(e.name);
  if (!hasPath) entries->push_back({"Path", "%PATH%"});
  return entries;
}

bool UserScopeBackend::Save(EnvironmentScope, const std::vector<EnvironmentEntry>& entries) {
  return inner_.Save(kUser, entries);
}

bool UserScopeBackend::Backup(EnvironmentScope) { return inner_.Backup(kUser); }

bool UserScopeBackend::Restore(EnvironmentScope) { return inner_.Restore(kUser); }

bool ProfileScriptWritable(const std::string& script) {
  if (script.empty()) return false;
  std::filesystem::path folder = std::filesystem::path(script).parent_path();
  if (folder.empty()) folder = ".";
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return false;
  std::error_code ec;
  if (std::filesystem::exists(script, ec) && ::access(script.c_str(), W_OK) != 0) return false;
  return true;
}

}  // namespace quillet
